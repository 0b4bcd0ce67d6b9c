#pragma once

#include <string>
#include <vector>

namespace samplegen {

// Paragraphs of ordinary English prose about printing and about marking text,
// free to be repeated wherever a page needs filling. None of them contains one
// of the phrases the sample document promises.
const std::vector<std::string>& printingHistory();
const std::vector<std::string>& markupGuide();

} // namespace samplegen
