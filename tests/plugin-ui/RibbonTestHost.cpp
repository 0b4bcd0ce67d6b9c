#include "RibbonTestHost.h"

#include <cstdlib>

#include "TestSupport.h"
#include "bl/BLInputHandler.h"
#include "bl/BLService.h"
#include "service-common/ErrorReporting.h"
#include "svcbroker.h"
#include "uiengine/ElementApi.h"
#include "uiengine/UserGestures.h"
#include "vellum-marker/AddTextMarkupAnnotationInputHandler.h"

extern "C" uint32_t CreateServiceObject(uint32_t atom, ServiceObject** out);

namespace uitest {

namespace {

using SODetails::kOk;

// The business-logic services of the host library, and the markup tool in
// their registry, as the plug-in's registration leaves it.
void UseHostServices() {
    HostBL::RegisterServicesInProcess();
    ObjectPtr service, registry;
    ServiceProviderGetServiceObject(BLServiceOps::kFixedAtom, service.Receive(), nullptr);
    SODetails::CallChecked<BLServiceOps::GetInputHandlerRegistry>(service.get(),
                                                                  registry.Receive());
    using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;
    SODetails::CallChecked<BLInputHandlerRegistryOps::Register>(
        registry.get(), SODetails::AtomFromString(Tool::kToolName), Tool::Factory::Make().get());
}

} // namespace

std::vector<Mark> Marks(const ObjectPtr& document) {
    std::vector<Mark> marks;
    for (const HostBL::AnnotRecord& annot : HostBL::ListAnnots(document.get()))
        marks.emplace_back(annot.page, annot.info.subtype, annot.info.color & 0xFFFFFFu);
    return marks;
}

ObjectPtr CreateByName(const char* name) {
    ObjectPtr made;
    EXPECT_EQ(CreateServiceObject(SODetails::AtomFromString(name), made.Receive()), kOk) << name;
    return made;
}

void BareWindow::FillOperations(SODetails::Operation* ops) {
    using SODetails::SetOperation;
    SetOperation<UIWndOps::GetDispatcher>(ops, [](ServiceObject* self, ServiceObject** out) {
        *out = ObjectPtr(Object::ImplOf(self).dispatcher).Detach();
        return kOk;
    });
    SetOperation<UIWndOps::GetRootElement>(ops, [](ServiceObject* self, HELEMENT* root) {
        *root = Object::ImplOf(self).root;
        return kOk;
    });
    SetOperation<UIWndOps::GetElementApi>(ops, [](ServiceObject*, const UIElementApi** api) {
        *api = UIEngine::ElementApi();
        return kOk;
    });
    SetOperation<UIWndOps::QueryServiceObject>(
        ops, [](ServiceObject*, uint32_t, uint32_t, ServiceObject**, void**) {
            return SODetails::Reported(SODetails::kNotAvailable, L"UIWnd", L"QueryServiceObject",
                                       "test", "tests", 1);
        });
}

bool RibbonTest::Prepare() {
    static const bool once = [] {
        static const testsupport::TempFolder settings;
        setenv("VELLUM_SETTINGS", settings.Path("settings.sqlite3").c_str(), 1);
        UseHostServices();
        return true;
    }();
    return once;
}

void RibbonTest::AttachHandlers() {
    EXPECT_EQ(desk.Place(L"Markup", markupHandler), kOk);
    EXPECT_EQ(desk.Place(L"Font", fontHandler), kOk);
    desk.thread->WaitIdle();
}

void RibbonTest::CloseActiveView() {
    OnUI([&] {
        const ObjectPtr collection = desk.Collection();
        HostUI::CloseView(collection.get(), HostUI::ActiveView(collection.get()).get());
    });
    desk.thread->WaitIdle();
}

bool RibbonTest::ChooseColor(const char* owner, const wchar_t* color) {
    return OnUI([&] {
        HELEMENT popup = UIEngine::PopupOf(One(owner));
        return UIEngine::SendEvent(popup, UIEventCode::kColorChosen, popup,
                                   reinterpret_cast<uintptr_t>(color));
    });
}

UIEngine::ColorPopupRecord RibbonTest::OpenPopup(const char* owner) {
    EXPECT_TRUE(OnUI([&] { return UIEngine::OpenPopup(One(owner)).delivered; })) << owner;
    auto request = UIEngine::Describe(UIEngine::PopupOf(One(owner))).popupRequest;
    EXPECT_TRUE(request) << owner;
    return request.value_or(UIEngine::ColorPopupRecord{});
}

std::pair<uint32_t, uint32_t> RibbonTest::ActiveTool(const ObjectPtr& blView) {
    using Tool = BLAddTextMarkupAnnotationInputHandlerImpl;
    const ObjectPtr tool = HostBL::ActiveTool(blView.get());
    if (!tool)
        return {0, 0};
    const Tool& impl = Tool::Object::ImplOf(tool.get());
    return {impl.Subtype(), impl.Color()};
}

} // namespace uitest
