// A page handle of the document-model library, owned.
#pragma once

#include <cstdint>

#include "pdmodel-proxy/WrapperBase.h"
#include "service-common/SLGeometry.h"

namespace PDFL {

// Filled by the host's page object through Receive(); released with
// PDPageRelease. Failures throw ServiceObjectException with the library's
// result translated by PDResultToServiceCode.
class Page : public PDModel::Detail::WrapperBase<PDPage, PDModel::Detail::PDPageTraits> {
public:
    using WrapperBase::WrapperBase;

    // 0, 90, 180 or 270.
    int32_t GetRotate() const;
    // In page space.
    SL::RectF GetCropBox() const;
};

} // namespace PDFL
