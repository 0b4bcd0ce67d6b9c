// The file backend of a folio built without a PDF library: there are only
// in-memory documents, and opening a file says so.
#include "Core.h"

namespace folio {

PDResult OpenPdf(const char* path, PDDocumentRec** out) {
    *out = nullptr;
    return Fail(kPDErrUnsupported, "cannot open '%s': this build of folio has no PDF reader", path);
}

} // namespace folio
