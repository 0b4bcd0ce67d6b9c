#include "TextMarkupAnnot.h"

#include <cmath>

#include "bl/BLDocument.h"
#include "bl/BLDocumentView.h"
#include "bl/BLSelection.h"
#include "bl/internal/CurrentAuthor.h"
#include "pdmodel-proxy/Annot.h"
#include "service-common/BasicServiceObjectPtr.h"
#include "service-common/BoundingRect.h"
#include "service-common/FolioGeometry.h"
#include "service-common/Log.h"
#include "service-common/PDResultToServiceCode.h"
#include "service-common/RectUnion.h"
#include "service-common/ServiceObjectException.h"

namespace {

using SODetails::BasicServiceObjectPtr;
using SODetails::CallChecked;

const SODetails::AtomStatic kAnnotInsert("Annot_Insert");
const SODetails::AtomStatic kTextEdit("TextEdit");
const SODetails::AtomStatic kTextCopy("TextCopy");

constexpr float kCapFactor = 0.2f;
constexpr float kMargin = 0.5f;

// The point 0.2 x |from - to| beside the middle of the side from -> to,
// turned a quarter left of that side's direction; nothing for a side of no
// length.
bool CapPoint(const SL::PointF& from, const SL::PointF& to, SL::PointF* cap) {
    const SL::PointF v{from.x - to.x, from.y - to.y};
    if (v.x == 0.0f && v.y == 0.0f)
        return false;
    const SL::PointF middle{(from.x + to.x) / 2.0f, (from.y + to.y) / 2.0f};
    *cap = SL::PointF{middle.x + kCapFactor * -v.y, middle.y + kCapFactor * v.x};
    return true;
}

SL::RectF CappedRect(const SL::Quad& quad) {
    SL::PointF points[6] = {quad.p0, quad.p1, quad.p2, quad.p3};
    std::size_t count = 4;
    if (CapPoint(quad.p0, quad.p2, &points[count])) // start side
        ++count;
    if (CapPoint(quad.p3, quad.p1, &points[count])) // end side
        ++count;
    return SL::BoundingRect(points, count);
}

// The library's annotation over `count` >= 1 quads, with its fill opacity
// set when the library succeeded. `code` receives the translated result.
PDModel::Annot CreateAnnot(PDDocument document, uint32_t subtype, MarkupColor color,
                           const SL::Quad* quads, std::size_t count, uint32_t* code) {
    const wchar_t* author = BL::GetCurrentAuthor();
    std::vector<PDQuadF> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        points.push_back(SL::ToFolio(quads[i]));

    TextMarkupAnnotParams params{};
    params.rect = SL::ToFolio(TextMarkupAnnotRect(quads, count));
    params.quads = points.data();
    params.count = count;
    params.color = color;
    params.author = author ? author : L"";

    PDModel::Annot annot;
    *code = PDResultToServiceCode(PDAnnotCreate(document, subtype, &params, annot.Receive()));
    if (*code == 0 && annot)
        PDAnnotSetFillOpacity(annot.get(), TextMarkupFillOpacity(color));
    return annot;
}

} // namespace

SL::RectF TextMarkupAnnotRect(const SL::Quad* quads, std::size_t count) {
    SL::RectF rect = CappedRect(quads[0]);
    for (std::size_t i = 1; i < count; ++i)
        rect = SL::Union(rect, CappedRect(quads[i]));
    rect = SL::Ordered(rect);
    rect.x0 -= kMargin;
    rect.y0 -= kMargin;
    rect.x1 += kMargin;
    rect.y1 += kMargin;
    return rect;
}

float TextMarkupFillOpacity(MarkupColor color) {
    const float alpha = static_cast<float>(color >> 24);
    return std::round((alpha + 0.5f) / 255.0f * 100.0f) / 100.0f;
}

void CreateTextMarkupAnnot(ServiceObject* view, uint64_t page, uint32_t subtype, MarkupColor color,
                           PDAnnot* out) {
    if (!view || subtype == kNoMarkupKind || page == BLDocumentViewOps::kNoPage || !out)
        return;
    BasicServiceObjectPtr<> document;
    CallChecked<BLDocumentViewOps::GetDocument>(view, document.Receive());
    if (!document)
        return;
    PDDocument pdDocument = nullptr;
    CallChecked<BLDocumentOps::GetPDDocument>(document.get(), &pdDocument);
    if (!pdDocument)
        return;
    BasicServiceObjectPtr<> selection;
    CallChecked<BLDocumentViewOps::GetSelection>(view, selection.Receive());
    if (!selection)
        return;

    SLAtom kind = 0;
    CallChecked<BLSelectionOps::GetType>(selection.get(), &kind);
    if (kind != kTextEdit.get() && kind != kTextCopy.get())
        return;
    uint64_t count = 0;
    CallChecked<BLSelectionOps::GetQuadCount>(selection.get(), page, &count);
    if (count == 0)
        return;
    std::vector<SL::Quad> quads(count, SL::Quad{});
    CallChecked<BLSelectionOps::GetQuads>(selection.get(), page, quads.data());

    uint32_t code = 0;
    PDModel::Annot annot = CreateAnnot(pdDocument, subtype, color, quads.data(), count, &code);
    if (code == 0 && annot)
        *out = annot.Detach();
}

void InsertTextMarkupAnnot(ServiceObject* view, uint32_t subtype, MarkupColor color, uint64_t page,
                           const std::vector<SL::Quad>& quads) {
    BasicServiceObjectPtr<> document;
    CallChecked<BLDocumentViewOps::GetDocument>(view, document.Receive());
    if (!document)
        throw ServiceObjectException(SODetails::kNotAvailable, L"Not initialized",
                                     FailureSites::kOnAreaSelectedNoDocument);
    PDDocument pdDocument = nullptr;
    CallChecked<BLDocumentOps::GetPDDocument>(document.get(), &pdDocument);
    if (!pdDocument)
        throw ServiceObjectException(SODetails::kNotAvailable, L"Not initialized",
                                     FailureSites::kOnAreaSelectedNoDocumentHandle);

    PDModel::Annot annot;
    if (!quads.empty()) {
        uint32_t code = 0;
        annot = CreateAnnot(pdDocument, subtype, color, quads.data(), quads.size(), &code);
    }
    if (!annot) {
        try {
            Log(L"Failed to create text markup annotation.", SODetails::kLogSeverityFailure,
                FailureSites::kOnAreaSelectedNoAnnot);
        } catch (...) {
            // A failure record that cannot be written is dropped.
        }
        return;
    }
    const AnnotOperationArgs args{document.get(), page, annot.get()};
    CallChecked<BLDocumentOps::PerformAnnotOperation>(document.get(), kAnnotInsert.get(), &args,
                                                      0u);
}
