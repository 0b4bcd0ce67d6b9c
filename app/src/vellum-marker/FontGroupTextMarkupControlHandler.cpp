#include "FontGroupTextMarkupControlHandler.h"

#include "AnnotOperationAtoms.h"

namespace {

const AnnotOperationAtoms kAnnotOperations;
const SODetails::AtomStatic kTextEdit("TextEdit");
const SODetails::AtomStatic kEdit("Edit");
const SODetails::AtomStatic kTextCopy("TextCopy");
const SODetails::AtomStatic kReview("Review");
const SODetails::AtomStatic kAddTextMarkupAnnot("AddTextMarkupAnnot");

} // namespace

SODetails::BasicServiceObjectPtr<> FontGroupTextMarkupControlHandler::Create() {
    return SODetails::BasicServiceObjectPtr<>::Adopt(Object::New());
}
