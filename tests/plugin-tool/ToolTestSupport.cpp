#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "bl/BLDocumentView.h"
#include "hostbl/HostBL.h"
#include "service-common/ResultCodes.h"
#include "svcbroker.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

namespace tooltest {

namespace {

uint32_t MakeHostService(void* name, ServiceObject** out) {
    *out = HostBL::NewService(static_cast<const char*>(name)).Detach();
    return 0;
}

} // namespace

void UseHostServices(bool again) {
    static bool registered = false;
    if (registered && !again)
        return;
    for (const char* name : {"BLService", "GraphicsFactory", "BLAuthor"})
        ServiceProviderRegHostService(name, &MakeHostService, const_cast<char*>(name), "single");
    registered = true;
}

testsupport::Document NewTextDocument(int pages) {
    testsupport::Document document = testsupport::InMemory(pages);
    for (uint64_t page = 0; page < uint64_t(pages); ++page) {
        for (uint64_t i = 0; i < 16; ++i) {
            const SL::PointF c = CharCentre(i);
            const wchar_t text[2] = {L"HelloworldLAgain"[i], L'\0'};
            const SL::Quad quad =
                i == 10 ? Box(140, 170, 140, 180) : Box(c.x - 5, c.y - 5, c.x + 5, c.y + 5);
            testsupport::AddChar(document.get(), page, i == 10 ? L"\n" : text, quad);
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
    EXPECT_EQ(*SODetails::TryCall<BLInputHandlerOps::HandleEvent>(tool, &event, &handled),
              SODetails::kOk);
    return handled;
}

} // namespace tooltest
