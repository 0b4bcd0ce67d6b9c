#include "service-common/PDResultToServiceCode.h"

#include <iterator>

#include "service-common/ResultCodes.h"

namespace {

struct Translation {
    PDResult result;
    uint32_t code;
};

// The contract's table: which service code each library result stands for.
constexpr Translation kTranslations[] = {
    {kPDErrGeneric, SODetails::kLibraryFailure},
    {kPDOk, SODetails::kOk},
    {kPDErrNotAvailable, SODetails::kNotAvailable},
    {kPDErrBadArgument, SODetails::kBadArgument},
    {kPDErrNotFound, SODetails::kNotFound},
    {kPDErrOutOfRange, SODetails::kOutOfRange},
    {kPDErrUnsupported, SODetails::kUnsupported},
    {kPDErrNoMemory, SODetails::kOutOfMemory},
    {kPDErrReserved7, SODetails::kIgnored},
    {kPDErrReserved8, SODetails::kDocumentReserved8},
    {kPDErrCannotOpen, SODetails::kDocumentCannotOpen},
    {kPDErrDamaged, SODetails::kDocumentDamaged},
    {kPDErrEncrypted, SODetails::kDocumentEncrypted},
    {kPDErrCannotWrite, SODetails::kDocumentCannotWrite},
    {kPDErrNothingToUndo, SODetails::kDocumentNothingToUndo},
    {kPDErrNothingToRedo, SODetails::kDocumentNothingToRedo},
    {kPDErrEditOpen, SODetails::kDocumentEditOpen},
    {kPDErrReserved18, SODetails::kDocumentReserved18},
    {kPDErrReserved19, SODetails::kDocumentReserved19},
    {kPDErrReserved32, SODetails::kDocumentReserved32},
    {kPDErrReserved33, SODetails::kDocumentReserved33},
    {kPDErrReserved34, SODetails::kDocumentReserved34},
};

} // namespace

uint32_t PDResultToServiceCode(PDResult result) {
    for (const Translation& t : kTranslations)
        if (t.result == result)
            return t.code;
    return SODetails::kUnknownLibraryResult;
}
