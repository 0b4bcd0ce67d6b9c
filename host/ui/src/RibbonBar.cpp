// The ribbon bar: the panels of the ribbon in a window's element tree (the
// elements with a "data-panel" attribute), into which modules place the UI
// handlers that drive them. Placing attaches the handler to the panel's
// element on the UI thread, as the UI engine calls every handler there.
#include <algorithm>

#include "Objects.h"
#include "service-common/ServiceObjectException.h"
#include "service-common/TextConversion.h"
#include "ui/UIService.h"
#include "uiengine/Elements.h"
#include "uiengine/UIThread.h"

namespace HostUIImpl {

namespace {

constexpr const char* kPanelAttribute = "data-panel";

struct RibbonBarImpl {
    RibbonBarImpl(ObjectPtr w, std::shared_ptr<UIEngine::UIThread> t)
        : window(std::move(w)), thread(std::move(t)) {}
    const ObjectPtr window;
    const std::shared_ptr<UIEngine::UIThread> thread;
};

// Group names are plain words: a name that could not be written into a
// selector names no panel.
bool IsPlainName(const std::wstring& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
               c == L'-' || c == L'_';
    });
}

HELEMENT FindPanel(const RibbonBarImpl& bar, const std::wstring& group) {
    UIEngine::ElementTree* tree = HostUI::WindowTree(bar.window.get());
    if (!tree || !IsPlainName(group))
        return nullptr;
    return UIEngine::SelectFirst(tree->Root(), std::string("[") + kPanelAttribute + "=\"" +
                                                   SLText::ToNarrow(group) + "\"]");
}

struct RibbonBarInterface
    : SODetails::InterfaceOf<RibbonBarInterface, RibbonBarImpl, RibbonBarOps::kOperationCount> {
    static constexpr const char* kName = "UIRibbonBar";
    static constexpr const wchar_t* kWideName = L"UIRibbonBar";

    // Placing into a panel that has a handler replaces it. A failure of the
    // handler's Attached is its own record and code.
    static uint32_t Place(ServiceObject* self, const wchar_t* group, ServiceObject* handler) {
        if (!group || !handler)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"Place");
        RibbonBarImpl& bar = Object::ImplOf(self);
        try {
            return bar.thread->Invoke([&]() -> uint32_t {
                HELEMENT panel = FindPanel(bar, group);
                if (!panel)
                    return HOST_OBJECT_REPORT(kNotAvailable, kWideName, L"Place");
                UIEngine::AttachHandler(panel, handler, bar.window.get());
                return kOk;
            });
        } catch (const ServiceObjectException& e) {
            ReportFailure(e);
            return e.Code();
        } catch (const std::exception& e) {
            ReportFailure(ServiceObjectException(kNotAvailable, SLText::ToWide(e.what()),
                                                 __PRETTY_FUNCTION__, __FILE__, __LINE__));
            return kNotAvailable;
        }
    }

    // This ribbon has no panels that users customise.
    static uint32_t HasCustomHandler(ServiceObject*, const wchar_t* group, bool* flag) {
        if (!group || !flag)
            return HOST_OBJECT_REPORT(kBadArgument, kWideName, L"HasCustomHandler");
        *flag = false;
        return kOk;
    }

    static void FillOperations(SODetails::Operation* ops) {
        SODetails::SetOperation<RibbonBarOps::Place>(ops, &Place);
        SODetails::SetOperation<RibbonBarOps::Replace>(ops, &Place);
        SODetails::SetOperation<RibbonBarOps::HasCustomHandler>(ops, &HasCustomHandler);
    }
};

RibbonBarImpl& BarOf(ServiceObject* ribbonBar) {
    return ImplOf<RibbonBarInterface>(ribbonBar, "ribbon bar");
}

} // namespace

} // namespace HostUIImpl

namespace HostUI {

using namespace HostUIImpl;

ObjectPtr CreateRibbonBar(ServiceObject* window, std::shared_ptr<UIEngine::UIThread> thread) {
    ImplOf<WindowInterface>(window, "window");
    if (!thread)
        throw std::invalid_argument("a ribbon bar needs the UI thread");
    return ObjectPtr::Adopt(
        RibbonBarInterface::Object::New(ObjectPtr::Share(window), std::move(thread)));
}

std::vector<Placement> Placements(ServiceObject* ribbonBar) {
    std::vector<Placement> placements;
    UIEngine::ElementTree* tree = WindowTree(BarOf(ribbonBar).window.get());
    if (!tree)
        return placements;
    for (HELEMENT panel : UIEngine::Select(tree->Root(), std::string("[") + kPanelAttribute + "]"))
        if (ObjectPtr handler = UIEngine::HandlerOf(panel))
            placements.push_back(
                {SLText::ToWide(UIEngine::Attribute(panel, kPanelAttribute).value_or("")), panel,
                 std::move(handler)});
    return placements;
}

HELEMENT PanelOf(ServiceObject* ribbonBar, const std::wstring& group) {
    return FindPanel(BarOf(ribbonBar), group);
}

} // namespace HostUI
