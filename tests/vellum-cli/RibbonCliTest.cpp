// `vellum markup` reaches the markup tool only through the ribbon, as a user
// does, and `vellum ribbon` shows what the handlers made of the ribbon. The
// saved files are read back with pypdf.
#include <cstdint>
#include <string>

#include "CliFixture.h"

namespace {

using RibbonCli = CliFixture;

// One user's runs, in order, each a markup of the pangram's "quick brown": a
// click takes the kind's last colour, and a colour chosen in a popup of
// either group is used and becomes the next click's. Font icons are never
// checked.
TEST_F(RibbonCli, AClickUsesTheLastColourAndAColourChosenInAPopupIsTheNextClicks) {
    const struct {
        std::vector<std::string> options;
        const char* subtype;
        uint32_t color;
        const char *group, *checked;
    } runs[] = {
        // a fresh installation's underline colour
        {{"--kind", "underline"}, "/Underline", 0xFF44DC5Eu, "markup", "Underline"},
        {{"--kind", "underline", "--color", "80123456"},
         "/Underline",
         0x80123456u,
         "markup",
         "Underline"},
        {{"--kind", "underline"}, "/Underline", 0x80123456u, "markup", "Underline"},
        {{"--kind", "strikeout", "--group", "font", "--color", "ff0000ff"},
         "/StrikeOut",
         0xFF0000FFu,
         "font",
         "null"},
        {{"--kind", "strikeout"}, "/StrikeOut", 0xFF0000FFu, "markup", "Strikethrough"},
    };
    for (const auto& c : runs) {
        std::vector<std::string> args = {"markup", "in.pdf",      "-o",    "out.pdf",
                                         "--text", "quick brown", "--json"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        SCOPED_TRACE(args.back());
        const VellumOutcome run = Run(args);
        ASSERT_EQ(run.exit, 0) << run.err;
        const Values saved = ProbeAnnots(Path("out.pdf")), report = ProbeJson(run.out);
        EXPECT_EQ(Value(saved, "/pages/0/annots/0/subtype"), c.subtype);
        EXPECT_EQ(AnnotColor(saved, 0, 0), c.color);
        EXPECT_EQ(Value(report, "/group"), c.group);
        EXPECT_EQ(Value(report, "/checkedButton"), c.checked);
    }
    EXPECT_EQ(Run({"options", "get", "Options/General/Last Color Underline"}).out, "80123456\n");
}

TEST_F(RibbonCli, OnSelectionMarksTheSelectedTextAtOnceAcrossAPageBreak) {
    const VellumOutcome run =
        Run(Markup("selection.pdf", {"--on-selection", "--color", "ff3bd4ff", "--text",
                                     "this account continues on the next page", "--json"}));
    ASSERT_EQ(run.exit, 0) << run.err;
    const Values report = ProbeJson(run.out);
    EXPECT_EQ(Value(report, "/onSelection"), "true");
    EXPECT_EQ(Value(report, "/checkedButton"), "null") << "no tool was started";
    EXPECT_EQ(Value(report, "/drags/0/undoSteps"), "1") << "one edit group";
    EXPECT_EQ(Value(report, "/drags/0/annotations/#"), "2");
    const Values saved = ProbeAnnots(Path("selection.pdf"));
    for (const int page : {0, 1}) {
        EXPECT_EQ(Value(saved, "/pages/" + std::to_string(page) + "/annots/#"), "1") << page;
        EXPECT_EQ(AnnotColor(saved, page, 0), 0xFF3BD4FFu) << page;
    }
}

// A document the project did not make: its kerned glyphs overlap ("n" and "t"
// of "parentheses"), and the text tool's caret goes before a glyph only when
// the press lies in the glyph's leading half.
TEST_F(RibbonCli, ADragStartsAtThePhrasesFirstGlyphEvenWhereGlyphsOverlap) {
    for (const char* mode : {"--on-selection", "--json"}) {
        const VellumOutcome run =
            Run(Markup("kerned.pdf", {mode, "--text", "theses", "--all"}, kManual));
        ASSERT_EQ(run.exit, 0) << mode << ": " << run.err;
        EXPECT_EQ(run.err.find("not the phrase"), std::string::npos) << mode << ": " << run.err;
        EXPECT_EQ(AnnotCount(Path("kerned.pdf"), 27), 1) << mode;
    }
}

// The command looks at the document before either group is asked for anything.
TEST_F(RibbonCli, ADocumentThatForbidsAnnotationsIsRefusedAndNothingIsWritten) {
    WriteLockedCopy();
    const VellumOutcome run = Run(Markup(
        "out.pdf", {"--group", "font", "--color", "ff000000", "--text", kPangram}, "locked.pdf"));
    ExpectExit(run, 1, "locked.pdf does not permit adding annotations");
    EXPECT_EQ(FolderListing(Dir()), (std::vector<std::string>{"in.pdf", "locked.pdf"}));
}

TEST_F(RibbonCli, TheRibbonShowsWhatTheHandlersMadeOfItWithAndWithoutADocument) {
    const auto dropDownDisabled = [](const Values& ribbon) {
        // The Highlight drop-down part, as listed: its path by its id.
        for (const auto& [path, value] : ribbon)
            if (value == "Highlight-split-item" && path.rfind("/groups/0/", 0) == 0)
                return Value(ribbon, path.substr(0, path.size() - 3) + "/disabled");
        return std::string("(not listed)");
    };
    const VellumOutcome run = Run({"ribbon", "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const Values ribbon = ProbeJson(run.out);
    EXPECT_EQ(Value(ribbon, "/groups/0/group"), "Markup");
    EXPECT_EQ(Value(ribbon, "/groups/0/handler"), "class MarkupGroupHandler");
    EXPECT_EQ(Value(ribbon, "/groups/1/handler"), "class FontGroupTextMarkupControlHandler");
    EXPECT_EQ(dropDownDisabled(ribbon), "true") << "no document view yet";

    EXPECT_EQ(dropDownDisabled(ProbeJson(Run({"ribbon", "in.pdf", "--json"}).out)), "false");
    EXPECT_EQ(dropDownDisabled(ProbeJson(Run({"ribbon", "in.pdf", "--read-only", "--json"}).out)),
              "true")
        << "a read-only view";

    EXPECT_EQ(Run({"ribbon", "--read-only"}).exit, 2);
    EXPECT_EQ(Run({"ribbon", "missing.pdf"}).exit, 1);
}

} // namespace
