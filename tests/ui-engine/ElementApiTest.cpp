// The flat element API as a UI handler uses it: handles, states, texts and
// the change notifications a front end follows.
#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "TestSupport.h"
#include "service-common/ErrorReporting.h"
#include "uiengine/ElementApi.h"

namespace UIEngineTest {
namespace {

using namespace UIEngine;

const UIElementApi& Api() {
    return *UIEngine::ElementApi();
}

uint32_t CollectInto(void* context, HELEMENT element) {
    static_cast<std::vector<HELEMENT>*>(context)->push_back(element);
    return 0;
}

void StoreText(void* context, const wchar_t* text, uint32_t length) {
    static_cast<std::wstring*>(context)->assign(text, length);
}

uint32_t LastRecordedCode() {
    ErrorInfo info{};
    SODetails::GetErrorInfo(nullptr, &info, nullptr);
    return info.code;
}

using ElementApi = RibbonTree;

TEST_F(ElementApi, TableWalksSelectionsAndRecordsItsFailures) {
    std::vector<HELEMENT> found;
    EXPECT_EQ(Api().SelectElements(markup, "div.split-button", &CollectInto, &found), 0u);
    EXPECT_EQ(found, Select(markup, "div.split-button"));
    int visits = 0;
    auto stopAtFirst = [](void* context, HELEMENT) -> uint32_t {
        return ++*static_cast<int*>(context);
    };
    EXPECT_EQ(Api().SelectElements(markup, "div", stopAtFirst, &visits), 0u);
    EXPECT_EQ(visits, 1);

    EXPECT_EQ(Api().SelectElements(markup, "div:first-child", &CollectInto, &found),
              SODetails::kBadSelector);
    EXPECT_EQ(LastRecordedCode(), SODetails::kBadSelector);

    // A table that ends before an entry does not have it.
    UIElementApi shorter = Api();
    shorter.size = offsetof(UIElementApi, SetText);
    EXPECT_TRUE(UI_ELEMENT_API_HAS(&shorter, GetText));
    EXPECT_FALSE(UI_ELEMENT_API_HAS(&shorter, SetText));
}

TEST_F(ElementApi, StaleAndForeignHandlesAreRefused) {
    HELEMENT stale;
    {
        auto gone = LoadRibbon();
        stale = One(*gone, "#Highlight");
        EXPECT_TRUE(IsLive(stale));
    }
    auto again = LoadRibbon(); // may reuse the slots; never the handles
    int local = 0;
    HELEMENT foreign[] = {stale, &local,
                          reinterpret_cast<HELEMENT>(uintptr_t(0xE1) << 56 | 0xFFFFFF),
                          reinterpret_cast<HELEMENT>(~uintptr_t(0))};
    for (HELEMENT h : foreign) {
        SCOPED_TRACE(reinterpret_cast<uintptr_t>(h));
        EXPECT_FALSE(IsLive(h));
        uint32_t state = 0, matches = 0, handled = 9;
        HELEMENT out = nullptr;
        std::vector<HELEMENT> found;
        std::wstring text;
        EXPECT_EQ(Api().SelectElements(h, "div", &CollectInto, &found), SODetails::kStaleElement);
        EXPECT_EQ(Api().MatchesSelector(h, "div", &matches), SODetails::kStaleElement);
        EXPECT_EQ(Api().FindNearestAncestor(h, "div", 6, &out), SODetails::kStaleElement);
        EXPECT_EQ(Api().GetParent(h, &out), SODetails::kStaleElement);
        EXPECT_EQ(Api().GetState(h, &state), SODetails::kStaleElement);
        EXPECT_EQ(Api().SetState(h, 0x40, 0, 1), SODetails::kStaleElement);
        EXPECT_EQ(Api().SendEvent(h, 0, nullptr, 0, &handled), SODetails::kStaleElement);
        EXPECT_EQ(handled, 0u);
        EXPECT_EQ(Api().GetText(h, &StoreText, &text), SODetails::kStaleElement);
        EXPECT_EQ(Api().SetText(h, L"x"), SODetails::kStaleElement);
        EXPECT_EQ(LastRecordedCode(), SODetails::kStaleElement);
        EXPECT_THROW(Describe(h), std::invalid_argument);
    }
    EXPECT_EQ(Api().GetState(nullptr, nullptr), SODetails::kBadArgument);
    // A stale source is refused as well.
    EXPECT_EQ(Api().SendEvent(again->Root(), 0, stale, 0, nullptr), SODetails::kStaleElement);
}

TEST_F(ElementApi, StatesAndTextsChangeWithNotificationsAndWakeWaiters) {
    HELEMENT button = One(*tree, "#Strikethrough");
    HELEMENT label = Select(button, ".cmd-base-name").at(0);
    std::vector<ElementChange> changes;
    uint64_t id = tree->AddListener([&](const ElementChange& c) { changes.push_back(c); });

    uint64_t before = tree->Revision();
    EXPECT_EQ(Api().SetState(button, 0x40 | 0x1000, 0, 1), 0u);
    EXPECT_EQ(Api().SetState(button, 0x80, 0x40, 0), 0u);
    EXPECT_EQ(Api().SetState(button, 0x80, 0, 1), 0u); // no change, no notice
    uint32_t state = 0;
    EXPECT_EQ(Api().GetState(button, &state), 0u);
    EXPECT_EQ(state, 0x80u | 0x1000u); // bits without a meaning are kept

    std::wstring text;
    EXPECT_EQ(Api().GetText(label, &StoreText, &text), 0u);
    EXPECT_EQ(text, L"Strikethrough");
    EXPECT_EQ(Api().SetText(label, L"Durchstreichen \u00e4\U0001F58D"), 0u);
    EXPECT_EQ(Text(label), L"Durchstreichen \u00e4\U0001F58D");
    EXPECT_EQ(Api().SetText(label, nullptr), SODetails::kBadArgument);

    std::vector<std::tuple<HELEMENT, uint32_t, bool, uint64_t>> seen;
    for (const ElementChange& c : changes)
        seen.emplace_back(c.element, c.kind, c.updateNow, c.revision);
    EXPECT_EQ(seen, (decltype(seen){{button, ChangeKind::kState, true, before + 1},
                                    {button, ChangeKind::kState, false, before + 2},
                                    {label, ChangeKind::kText, true, before + 3}}));
    EXPECT_EQ(tree->Revision(), before + 3);
    EXPECT_EQ(Describe(label).revision, before + 3);
    EXPECT_EQ(Describe(button).revision, before + 2);

    tree->RemoveListener(id);
    SetState(button, 0, 0x80);
    EXPECT_EQ(changes.size(), 3u);

    // A waiter wakes on another thread's change.
    const uint64_t start = tree->Revision();
    EXPECT_EQ(tree->WaitForChange(start, std::chrono::milliseconds(1)), start);
    std::thread changer([&] { SetState(button, UIElementState::kChecked, 0); });
    EXPECT_EQ(tree->WaitForChange(start, std::chrono::seconds(30)), start + 1);
    changer.join();
}

TEST(ElementTree, ParsesAsABrowserDoesAndRefusesWhatItCannotHold) {
    auto tree = ElementTree::Parse("<p id=a>one <b>two</b>  three<div class=' x  y '>");
    std::vector<std::string> tags;
    for (HELEMENT e : tree->Elements())
        tags.push_back(Describe(e).tag);
    // The parser closes the paragraph before the div, as a browser does.
    EXPECT_EQ(tags, (std::vector<std::string>{"html", "head", "body", "p", "b", "div"}));
    EXPECT_EQ(Text(Select(tree->Root(), "#a").at(0)), L"one three");
    EXPECT_EQ(Describe(Select(tree->Root(), ".y").at(0)).classes,
              (std::vector<std::string>{"x", "y"}));

    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "<span>";
    EXPECT_THROW(ElementTree::Parse(deep), std::runtime_error);
    EXPECT_THROW(ElementTree::Load(ElementTree::ResourcePath("no-such-file.html")),
                 std::runtime_error);
}

} // namespace
} // namespace UIEngineTest
