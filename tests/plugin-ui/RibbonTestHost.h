// The ground of the ribbon handlers' tests: the plug-in's two handlers,
// placed through the ribbon bar of a desk of the host's UI objects, over the
// host's documents and views.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../hostui/HostUITestSupport.h"
#include "service-common/ServiceObjectCppTheConcrete.h"
#include "ui/UIWnd.h"
#include "uiengine/Elements.h"
#include "vellum-marker/FontGroupTextMarkupControlHandler.h"
#include "vellum-marker/MarkupGroupHandler.h"

namespace uitest {

using HostUITest::Desk;
using HostUITest::NewTextDocument;
using ObjectPtr = HostUI::ObjectPtr;

// An annotation as its page, kind and colour (RGB).
using Mark = std::tuple<uint64_t, uint32_t, uint32_t>;
// The document's annotations, in page order.
std::vector<Mark> Marks(const ObjectPtr& document);
// A plug-in object made by the atom of its name, as the host makes it.
ObjectPtr CreateByName(const char* name);

// A window of the tests' own, unlike the host's: it hands out the dispatcher
// it is given even when that is none, and refuses every query without an
// error record.
struct BareWindow {
    using Object = SODetails::ServiceObjectCppTheConcrete<BareWindow, BareWindow>;
    static constexpr const char* kName = "UIWnd";
    static constexpr std::size_t kOperationCount = UIWndOps::kOperationCount;
    static void FillOperations(SODetails::Operation* ops);
    ObjectPtr dispatcher;
    HELEMENT root = nullptr;
};

class RibbonTest : public testing::Test {
protected:
    explicit RibbonTest(bool withDocumentArea = true, const std::string& ribbonHtml = "")
        : desk(withDocumentArea, ribbonHtml) {}

    template <class F> auto OnUI(F f) { return desk.OnUI(f); }
    HELEMENT One(const std::string& selector) const { return desk.Ribbon(selector); }
    uint32_t StateOf(const std::string& selector) const { return UIEngine::State(One(selector)); }

    // Places the handlers into the "Markup" and "Font" groups, then lets the
    // UI thread run what they left to it.
    void AttachHandlers();
    void CloseActiveView();
    // A colour chosen in the popup of `owner`, sent as the popup's script
    // sends it (also while `owner` is disabled); whether it was handled.
    bool ChooseColor(const char* owner, const wchar_t* color);
    // Opens the popup of `owner`; the colour popup request it received.
    UIEngine::ColorPopupRecord OpenPopup(const char* owner);
    // The kind and colour of the view's active markup tool (none: kind 0).
    static std::pair<uint32_t, uint32_t> ActiveTool(const ObjectPtr& blView);
    MarkupGroupHandler& Markup() const {
        return MarkupGroupHandler::Object::ImplOf(markupHandler.get());
    }
    FontGroupTextMarkupControlHandler& Font() const {
        return FontGroupTextMarkupControlHandler::Object::ImplOf(fontHandler.get());
    }

    // Before anything of the plug-in is made: the host's services and a
    // settings store of the tests' own (the process keeps the first it opens).
    const bool prepared = Prepare();
    Desk desk;
    ObjectPtr markupHandler = CreateByName("UIReviewMarkupGroupHandler");
    ObjectPtr fontHandler = CreateByName("UIReviewFontGroupTextMarkupControlHandler");

private:
    static bool Prepare();
};

// The handlers placed, over the active view of a new text document.
class DocumentShown : public RibbonTest {
protected:
    explicit DocumentShown(const std::string& ribbonHtml = "") : RibbonTest(true, ribbonHtml) {}
    void SetUp() override {
        AttachHandlers();
        view = desk.ShowDocument(document);
    }

    ObjectPtr document = NewTextDocument();
    ObjectPtr view;
};

} // namespace uitest
