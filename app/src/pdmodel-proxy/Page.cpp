#include "pdmodel-proxy/Page.h"

#include "pdmodel-proxy/FolioGeometry.h"
#include "pdmodel-proxy/PDResultToServiceCode.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"

namespace PDFL {

namespace {

const char* const kFile = "app\\src\\pdmodel-proxy\\page";

void Check(PDResult result, const wchar_t* message, const char* function, uint32_t line) {
    const uint32_t code = PDResultToServiceCode(result);
    if (code != SODetails::kOk)
        throw ServiceObjectException(code, message, function, kFile, line);
}

} // namespace

int32_t Page::GetRotate() const {
    int32_t rotate = 0;
    Check(PDPageGetRotate(handle_, &rotate), L"Unable to acquire a page rotate",
          "PDFL::Page::GetRotate", 45);
    return rotate;
}

SL::RectF Page::GetCropBox() const {
    PDRectF box{};
    Check(PDPageGetCropBox(handle_, &box), L"Unable to acquire a page crop box",
          "PDFL::Page::GetCropBox", 54);
    return SL::FromFolio(box);
}

} // namespace PDFL
