// Events reach the UI handler attached nearest above their target; handlers
// learn when they are attached and detached; colour popup requests stay on
// the popup for the window to show; gestures refuse disabled controls.
#include <gtest/gtest.h>

#include <tuple>

#include "TestSupport.h"
#include "service-common/ServiceObjectException.h"
#include "uiengine/Dispatcher.h"
#include "uiengine/ElementApi.h"
#include "uiengine/UserGestures.h"

namespace UIEngineTest {
namespace {

using namespace UIEngine;

class EventRouting : public RibbonTree {
protected:
    ObjectPtr window = RecordingHandler::Make(); // stands for the window: only its identity counts
    ObjectPtr markupHandler = RecordingHandler::Make();
    ObjectPtr rootHandler = RecordingHandler::Make();

    RecordingHandler& Markup() { return RecordingHandler::Of(markupHandler); }
    RecordingHandler& Root() { return RecordingHandler::Of(rootHandler); }
};

TEST_F(EventRouting, NearestAttachedAncestorFirstThenUpUntilHandledOrFailed) {
    AttachHandler(markup, markupHandler.get(), window.get());
    AttachHandler(tree->Root(), rootHandler.get(), window.get());
    HELEMENT underline = One(*tree, "#Underline");

    EXPECT_FALSE(SendEvent(underline, UIEventCode::kClick, underline, 0));
    // Each handler hears it on behalf of its own element; not handled below,
    // it bubbled on.
    const SeenEvent click{UIEventCode::kClick, markup, underline, underline, 0};
    EXPECT_EQ(Markup().events, std::vector<SeenEvent>{click});
    SeenEvent bubbled = click;
    bubbled.element = tree->Root();
    EXPECT_EQ(Root().events, std::vector<SeenEvent>{bubbled});

    Markup().markHandled = true;
    uint32_t handled = 0;
    EXPECT_EQ(ElementApi()->SendEvent(underline, 1025, underline, 0, &handled), 0u);
    EXPECT_EQ(handled, 1u);
    EXPECT_EQ(Root().events.size(), 1u);

    // Outside the Markup panel only the root's handler hears it.
    EXPECT_FALSE(SendEvent(font, 5, nullptr, 0));
    EXPECT_EQ(Markup().events.size(), 2u);
    EXPECT_EQ(Root().events.size(), 2u);

    // A handler's failure ends the walk with its code.
    Markup().failWith = SODetails::kNotAvailable;
    EXPECT_EQ(ElementApi()->SendEvent(underline, 0, underline, 0, nullptr),
              SODetails::kNotAvailable);
    try {
        SendEvent(underline, 0, underline, 0);
        FAIL();
    } catch (const ServiceObjectException& e) {
        EXPECT_EQ(e.Code(), SODetails::kNotAvailable);
        EXPECT_EQ(e.Message(), L"UIHandler::HandleEvent() failed, code: 2");
    }
    EXPECT_EQ(Root().events.size(), 2u);

    // A handler detached while an event is on its way is passed over.
    Markup().failWith = SODetails::kOk;
    Markup().markHandled = false;
    Markup().onEvent = [&](const UIEventRecord&) { DetachHandler(tree->Root()); };
    SendEvent(underline, 0, underline, 0);
    EXPECT_EQ(Root().events.size(), 2u);
}

TEST_F(EventRouting, AttachedAndDetachedFollowTheAttachments) {
    AttachHandler(markup, markupHandler.get(), window.get());
    ASSERT_EQ(Markup().attachedCalls.size(), 1u);
    EXPECT_EQ(Markup().attachedCalls[0], std::make_pair(window.get(), markup));
    EXPECT_EQ(HandlerOf(markup), markupHandler);
    EXPECT_EQ(markupHandler->common.GetRefCount(markupHandler.get()), 2u);

    // A handler serves one element: moving it detaches it first.
    AttachHandler(font, markupHandler.get(), window.get());
    EXPECT_EQ(Markup().detachedCalls, 1);
    EXPECT_FALSE(HandlerOf(markup));
    // An element has one handler: a new one replaces it.
    AttachHandler(font, rootHandler.get(), window.get());
    EXPECT_EQ(Markup().detachedCalls, 2);
    EXPECT_EQ(markupHandler->common.GetRefCount(markupHandler.get()), 1u);

    DetachHandler(font);
    EXPECT_EQ(Root().detachedCalls, 1);
    DetachHandler(font); // nothing attached: nothing happens
    EXPECT_EQ(Root().detachedCalls, 1);

    // Only UI handlers can be attached.
    ObjectPtr notAHandler = CreateDispatcher(std::make_shared<UIThread>());
    EXPECT_THROW(AttachHandler(font, notAHandler.get(), window.get()), std::invalid_argument);
    EXPECT_THROW(AttachHandler(font, nullptr, window.get()), std::invalid_argument);

    AttachHandler(markup, markupHandler.get(), window.get());
    tree.reset(); // the window goes: its handlers are detached
    EXPECT_EQ(Markup().detachedCalls, 3);
    EXPECT_EQ(markupHandler->common.GetRefCount(markupHandler.get()), 1u);
}

TEST_F(EventRouting, ColorPopupRequestIsKeptOnThePopup) {
    AttachHandler(markup, markupHandler.get(), window.get());
    HELEMENT popup = One(*tree, ".underline-popup");
    uint64_t revision = tree->Revision();
    // The kept request as one value.
    const auto kept = [&] {
        const ColorPopupRecord r = Describe(popup).popupRequest.value_or(ColorPopupRecord{});
        return std::make_tuple(r.colorText, int(r.allowCustom), int(r.markCurrent), r.opacity,
                               r.received);
    };

    const float opacity = 0.5f;
    UIColorPopupRequest request{L"ff44dc5e", 0, 1, &opacity, 0};
    uint32_t handled = 0;
    EXPECT_EQ(ElementApi()->SendEvent(popup, UIEventCode::kColorPopupRequest, nullptr,
                                      reinterpret_cast<uintptr_t>(&request), &handled),
              0u);
    EXPECT_EQ(handled, 1u);
    EXPECT_TRUE(Markup().events.empty()); // the popup's own business
    EXPECT_EQ(kept(), std::make_tuple(std::wstring(L"ff44dc5e"), 0, 1, std::optional(0.5f), 1u));
    EXPECT_EQ(Describe(popup).revision, revision + 1); // a front end sees it change

    request = {nullptr, 0, 1, nullptr, 0}; // the font group's: no opacity
    SendEvent(popup, UIEventCode::kColorPopupRequest, nullptr,
              reinterpret_cast<uintptr_t>(&request));
    EXPECT_EQ(kept(), std::make_tuple(std::wstring(), 0, 1, std::optional<float>(), 2u));
    EXPECT_EQ(ElementApi()->SendEvent(popup, UIEventCode::kColorPopupRequest, nullptr, 0, nullptr),
              SODetails::kBadArgument);
}

TEST_F(EventRouting, GesturesSendWhatAUserDoesAndRefuseDisabledControls) {
    AttachHandler(markup, markupHandler.get(), window.get());
    AttachHandler(font, rootHandler.get(), window.get());
    HELEMENT dropDown = One(*tree, "#Highlight-split-item");
    HELEMENT popup = PopupOf(dropDown);

    EXPECT_FALSE(OpenPopup(dropDown).delivered); // no document view yet
    EXPECT_FALSE(ChooseColor(popup, L"ff3b82ff").delivered);
    EXPECT_TRUE(Markup().events.empty());

    // As a handler does: while the popup is about to show, it calls back
    // into the engine with a colour popup request and a state change.
    UIColorPopupRequest request{L"ffffea3b", 0, 1, nullptr, 0};
    Markup().onEvent = [&](const UIEventRecord& event) {
        if (event.code != UIEventCode::kPopupShowing)
            return;
        ElementApi()->SendEvent(event.target, UIEventCode::kColorPopupRequest, nullptr,
                                reinterpret_cast<uintptr_t>(&request), nullptr);
        ElementApi()->SetState(One(*tree, "#Highlight"), UIElementState::kChecked, 0, 1);
    };
    SetState(dropDown, 0, UIElementState::kDisabled);
    EXPECT_TRUE(OpenPopup(dropDown).delivered);
    EXPECT_EQ(Describe(popup).popupRequest->colorText, L"ffffea3b");
    EXPECT_EQ(State(One(*tree, "#Highlight")), UIElementState::kChecked);
    const std::wstring color = L"ff3b82ff";
    EXPECT_TRUE(ChooseColor(popup, color).delivered);
    const uintptr_t text = reinterpret_cast<uintptr_t>(color.c_str()); // the chosen colour
    EXPECT_EQ(Markup().events,
              (std::vector<SeenEvent>{{UIEventCode::kPopupRequested, markup, popup, dropDown, 0},
                                      {UIEventCode::kPopupShowing, markup, popup, dropDown, 0},
                                      {UIEventCode::kColorChosen, markup, popup, popup, text}}));

    HELEMENT button = One(*tree, "#Highlight");
    EXPECT_TRUE(Click(button).delivered);
    EXPECT_EQ(Markup().events.back().code, UIEventCode::kClick);
    EXPECT_FALSE(OpenPopup(button).delivered); // a main part has no popup

    HELEMENT icon = One(*tree, ".font-strike-icon");
    SetState(icon, 0, UIElementState::kDisabled);
    EXPECT_TRUE(OpenPopup(icon).delivered);
    EXPECT_EQ(Root().events.back().source, icon);
    EXPECT_TRUE(Matches(Parent(Root().events.back().target), "div .font-strike-icon"));
}

} // namespace
} // namespace UIEngineTest
