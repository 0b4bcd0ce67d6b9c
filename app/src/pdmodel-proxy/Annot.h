// An annotation handle of the document-model library, owned.
#pragma once

#include "pdmodel-proxy/WrapperBase.h"

namespace PDModel {

// Filled by PDAnnotCreate through Receive(); released with PDAnnotRelease.
class Annot : public Detail::WrapperBase<PDAnnot, Detail::PDAnnotTraits> {
public:
    using WrapperBase::WrapperBase;
};

} // namespace PDModel
