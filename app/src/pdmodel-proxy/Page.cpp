#include "pdmodel-proxy/Page.h"

#include "service-common/FolioGeometry.h"
#include "service-common/PDResultToServiceCode.h"
#include "service-common/ResultCodes.h"
#include "service-common/ServiceObjectException.h"

namespace PDFL {

namespace {

void Check(PDResult result, const wchar_t* message, const FailureSites::Site& site) {
    const uint32_t code = PDResultToServiceCode(result);
    if (code != SODetails::kOk)
        throw ServiceObjectException(code, message, site);
}

} // namespace

int32_t Page::GetRotate() const {
    int32_t rotate = 0;
    Check(PDPageGetRotate(handle_, &rotate), L"Unable to acquire a page rotate",
          FailureSites::kPageGetRotate);
    return rotate;
}

SL::RectF Page::GetCropBox() const {
    PDRectF box{};
    Check(PDPageGetCropBox(handle_, &box), L"Unable to acquire a page crop box",
          FailureSites::kPageGetCropBox);
    return SL::FromFolio(box);
}

} // namespace PDFL
