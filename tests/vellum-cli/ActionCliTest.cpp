// `vellum action` runs the scripted markup action as a host script does:
// every call's code is printed, and the document is written only when all
// of them gave 0. The saved files are read back with pypdf.
#include <filesystem>
#include <string>
#include <vector>

#include "CliFixture.h"

namespace {

class ActionCli : public CliFixture {
protected:
    // `vellum action IN -o out.pdf` and the options.
    VellumOutcome Action(std::vector<std::string> options, const std::string& in = "in.pdf") {
        options.insert(options.begin(), {"action", in, "-o", "out.pdf"});
        return Run(options);
    }
    // The pangram, a highlight's properties and more.
    static std::vector<std::string> Highlight(std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"--text", kPangram, "--property", "markup_type=Highlight",
                                   "--property", "point_x=0", "--property", "point_y=0"});
        return more;
    }
    bool Written() const { return std::filesystem::exists(Path("out.pdf")); }
};

TEST_F(ActionCli, HighlightsExactlyThePhraseInTheLastHighlightColourAndKeepsIt) {
    VellumOutcome run = Action(Highlight());
    ASSERT_EQ(run.exit, 0) << run.err;
    for (const char* call : {"PushParam HWND: 0", "PushParam HELEMENT: 0",
                             "PushProperty markup_type: 0", "Execute: 0"})
        EXPECT_NE(run.out.find(call), std::string::npos) << call << " in\n" << run.out;
    EXPECT_NE(run.out.find(std::string("\"") + kPangram + "\""), std::string::npos) << run.out;
    Values saved = ProbeAnnots(Path("out.pdf"));
    EXPECT_EQ(Value(saved, "/pages/0/annots/#"), "1");
    EXPECT_EQ(Value(saved, "/pages/0/annots/0/subtype"), "/Highlight");
    EXPECT_EQ(AnnotColor(saved, 0, 0), 0xFFFFEA3Bu) << "a fresh installation's highlight colour";

    // A given colour (FF0000FF in decimal) is used, and not kept.
    run = Action(Highlight({"--property", "color=-16776961"}));
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(AnnotColor(ProbeAnnots(Path("out.pdf")), 0, 0), 0xFF0000FFu);
    run = Run({"options", "get", "Options/General/Last Color Highlight"});
    EXPECT_EQ(run.out, "FFFFEA3B\n");
}

// Each bad script prints the codes of its calls, exits with 1 and writes
// nothing: a call the action declines, one it cannot carry out, a drag over
// no text, and a document that forbids annotations. (What each call answers
// to which value is the action's own test.)
TEST_F(ActionCli, CallsThatDoNotGiveZeroAreShownAndNothingIsWritten) {
    WriteLockedCopy();
    const struct {
        std::vector<std::string> options;
        const char *in, *shown;
    } cases[] = {
        {Highlight({"--param", "hwnd=1"}), "in.pdf", "PushParam hwnd: 1"},
        {{"--text", kPangram, "--property", "markup_type=Highlight", "--property", "point_x=0"},
         "in.pdf",
         "Execute: 2"},
        {{"--from", "1:2,2", "--to", "1:5,5", "--property", "markup_type=Highlight", "--property",
          "point_x=0", "--property", "point_y=0"},
         "in.pdf",
         "Execute: 2"},
        {Highlight(), "locked.pdf", "Execute: 11"},
    };
    for (const auto& c : cases) {
        const VellumOutcome run = Action(c.options, c.in);
        EXPECT_EQ(run.exit, 1) << c.shown << "\n" << run.err;
        EXPECT_NE(run.out.find(c.shown), std::string::npos) << c.shown << " in\n" << run.out;
        EXPECT_FALSE(Written()) << c.shown;
    }
    // Command lines that do not fit.
    for (const std::vector<std::string>& more : {std::vector<std::string>{"--param", "HWND"},
                                                 {"--param", "HWND=12x"},
                                                 {"--property", "color"},
                                                 {"--from", "1:2,2"}})
        EXPECT_EQ(Action(Highlight(more)).exit, 2) << more[1];
}

// A manual typeset elsewhere, struck out in a given colour.
TEST_F(ActionCli, MarksUpAManualTheProjectDidNotMake) {
    if (!std::filesystem::exists(kManual))
        GTEST_SKIP() << kManual << " is not installed";
    const VellumOutcome run = Action({"--text", "Abstract Syntax Notation One", "--property",
                                      "markup_type=StrikeOut", "--property", "point_x=1",
                                      "--property", "point_y=2", "--property", "color=-16776961"},
                                     kManual);
    ASSERT_EQ(run.exit, 0) << run.err;
    // The manual's own annotations (links) come first.
    const int before = AnnotCount(kManual);
    ASSERT_EQ(AnnotCount(Path("out.pdf")), before + 1);
    const Values saved = ProbeAnnots(Path("out.pdf"));
    EXPECT_EQ(Value(saved, "/pages/0/annots/" + std::to_string(before) + "/subtype"), "/StrikeOut");
    EXPECT_EQ(AnnotColor(saved, 0, before), 0xFF0000FFu);
    EXPECT_NE(run.out.find("\"Abstract Syntax Notation One\""), std::string::npos) << run.out;
}

} // namespace
