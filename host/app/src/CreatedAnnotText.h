// How the commands show the annotations they made.
#pragma once

#include <cstdint>
#include <string>

#include "MarkupDriver.h"

// The document model's name of a markup subtype ("Highlight"), or "?".
std::string SubtypeName(uint32_t subtype);

// One line: the page (counted from 1), the kind, the rectangle and the
// text the annotation covers, white space folded.
std::string AnnotLine(const CreatedAnnot& annot);
