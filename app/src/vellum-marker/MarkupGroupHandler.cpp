#include "MarkupGroupHandler.h"

#include "AnnotOperationAtoms.h"

namespace {

const AnnotOperationAtoms kAnnotOperations;
const SODetails::AtomStatic kUnderline("Underline");
const SODetails::AtomStatic kStrikeOut("StrikeOut");
const SODetails::AtomStatic kHighlight("Highlight");
const SODetails::AtomStatic kTextEdit("TextEdit");
const SODetails::AtomStatic kTextCopy("TextCopy");
const SODetails::AtomStatic kAddTextMarkupAnnot("AddTextMarkupAnnot");
const SODetails::AtomStatic kReview("Review");

} // namespace

SODetails::BasicServiceObjectPtr<> MarkupGroupHandler::Create() {
    return SODetails::BasicServiceObjectPtr<>::Adopt(Object::New());
}
