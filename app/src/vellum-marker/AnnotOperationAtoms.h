// The atoms of the document's annotation operations.
//
// Like the other atom statics of this module, each file keeps its own copy,
// resolved when the module loads: the host expects the module to resolve
// these names at load time, file by file. Where a file's code does not read
// an atom (yet), the atom is resolved for that load-time effect alone.
#pragma once

#include "service-common/Atom.h"

struct AnnotOperationAtoms {
    SODetails::AtomStatic setRect{"Annot_SetRect"};
    SODetails::AtomStatic insert{"Annot_Insert"};
    SODetails::AtomStatic remove{"Annot_Delete"};
    SODetails::AtomStatic removePageAll{"Annot_Delete_PageAll"};
    SODetails::AtomStatic replyTo{"Annot_ReplyTo"};
    SODetails::AtomStatic bringBack{"Annot_BringBack"};
    SODetails::AtomStatic bringFront{"Annot_BringFront"};
    SODetails::AtomStatic bringForward{"Annot_BringForward"};
    SODetails::AtomStatic bringBackward{"Annot_BringBackward"};
};
