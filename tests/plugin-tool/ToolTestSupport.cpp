#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "bl/BLDocumentView.h"
#include "hostbl/HostBL.h"
#include "svcbroker.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

namespace tooltest {

namespace {

uint32_t MakeHostService(void* name, ServiceObject** out) {
    *out = HostBL::NewService(static_cast<const char*>(name)).Detach();
    return 0;
}

void AddChar(PDDocument document, uint64_t page, wchar_t c, const SL::Quad& q) {
    const wchar_t text[2] = {c, L'\0'};
    const PDQuadF quad{{q.p0.x, q.p0.y}, {q.p1.x, q.p1.y}, {q.p2.x, q.p2.y}, {q.p3.x, q.p3.y}};
    if (FolioMemoryAddChar(document, page, text, &quad) != 0)
        throw std::runtime_error(FolioLastErrorMessage());
}

} // namespace

SL::Quad Box(float x0, float y0, float x1, float y1) {
    return SL::Quad{{x0, y1}, {x1, y1}, {x0, y0}, {x1, y0}};
}

void UseHostServices(bool again) {
    static bool registered = false;
    if (registered && !again)
        return;
    for (const char* name : {"BLService", "GraphicsFactory", "BLAuthor"})
        ServiceProviderRegHostService(name, &MakeHostService, const_cast<char*>(name), "single");
    registered = true;
}

PDDocument NewTextDocument(int pages) {
    PDDocument document = nullptr;
    if (FolioDocumentNewInMemory(&document) != 0)
        throw std::runtime_error("no in-memory document");
    const PDRectF crop{0, 0, 200, 200};
    for (uint64_t page = 0; page < uint64_t(pages); ++page) {
        FolioMemoryAddPage(document, &crop, 0, nullptr);
        for (uint64_t i = 0; i < 16; ++i) {
            const SL::PointF c = CharCentre(i);
            if (i == 10)
                AddChar(document, page, L'\n', Box(140, 170, 140, 180));
            else
                AddChar(document, page, L"HelloworldLAgain"[i],
                        Box(c.x - 5, c.y - 5, c.x + 5, c.y + 5));
        }
    }
    return document;
}

SL::PointF CharCentre(uint64_t index) {
    if (index < 11)
        return SL::PointF{(index < 5 ? 25.0f : 45.0f) + 10.0f * index, 175.0f};
    return SL::PointF{25.0f + 10.0f * (index - 11), 155.0f};
}

ObjectPtr NewView(ServiceObject* document) {
    return HostBL::CreateView(document, 300, 720, 1.0f);
}

SL::PointI Device(ServiceObject* view, uint64_t page, SL::PointF point) {
    SL::PointI device{-1, -1};
    SODetails::CallChecked<BLDocumentViewOps::PageToDevice>(view, page, &point, &device);
    return device;
}

ObjectPtr NewTool(ServiceObject* view, uint32_t subtype, uint32_t color) {
    ObjectPtr tool;
    SODetails::CallChecked<BLInputHandlerFactoryOps::CreateInputHandler>(
        BLAddTextMarkupAnnotationInputHandlerImpl::Factory::Make().get(), tool.Receive());
    const MarkupToolParams params{subtype, color};
    if (view) {
        EXPECT_EQ(*SODetails::TryCall<BLInputHandlerOps::Initialize>(tool.get(), view, &params),
                  0u);
    }
    return tool;
}

bool Send(ServiceObject* tool, uint32_t type, uint32_t button, SL::PointI point) {
    const BLInputEvent event{type, button, point};
    bool handled = true;
    EXPECT_EQ(*SODetails::TryCall<BLInputHandlerOps::HandleEvent>(tool, &event, &handled), 0u);
    return handled;
}

} // namespace tooltest
