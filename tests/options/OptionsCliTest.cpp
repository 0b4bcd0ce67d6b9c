// `vellum options` and the last colours of `vellum markup`, run as a user
// runs them, each test with a settings store of its own.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "ShellCommand.h"
#include "TestSupport.h"

namespace {

using testsupport::Outcome;
using testsupport::Quote;
using testsupport::ReadFile;

class OptionsCli : public testing::Test {
protected:
    Outcome Vellum(const std::vector<std::string>& args) {
        std::string command = "VELLUM_SETTINGS=" + Quote(store) +
                              " VELLUM_TRACKING=" + Quote(tracking) + " " + Quote(VELLUM_EXE);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        Outcome run = testsupport::RunCommand(command);
        EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
        return run;
    }
    std::string Get(const std::string& path) {
        const Outcome run = Vellum({"options", "get", path});
        EXPECT_EQ(run.exit, 0) << run.err;
        return run.out;
    }
    // The colour of the first annotation that a highlight of the sample made,
    // each into a file of its own.
    std::string MarkupColor(const std::vector<std::string>& more) {
        std::vector<std::string> args = {
            "markup",     std::string(SAMPLES_DIR) + "/sample.pdf",
            "-o",         folder.Path(std::to_string(++serial) + ".pdf"),
            "--json",     "--text",
            "quick brown"};
        args.insert(args.end(), more.begin(), more.end());
        const Outcome run = Vellum(args);
        EXPECT_EQ(run.exit, 0) << run.err;
        const std::size_t at = run.out.find("\"color\":\"");
        return at == std::string::npos ? "" : run.out.substr(at + 9, 8);
    }

    const testsupport::TempFolder folder;
    const std::string store = folder.Path("settings.sqlite3");
    const std::string tracking = folder.Path("tracking.jsonl");
    int serial = 0;
};

TEST_F(OptionsCli, ALastColourSetIsTheNextMarkupsColour) {
    EXPECT_EQ(Get("Options/General/Last Color Highlight"), "FFFFEA3B\n");
    EXPECT_EQ(MarkupColor({"--kind", "highlight"}), "FFFFEA3B");

    EXPECT_EQ(Vellum({"options", "set", "Options/General/Last Color Highlight", "ff3366cc"}).exit,
              0);
    EXPECT_EQ(MarkupColor({"--kind", "highlight"}), "FF3366CC");

    EXPECT_EQ(MarkupColor({"--kind", "underline", "--color", "0x80112233"}), "80112233");
    EXPECT_EQ(Get("General/Last Color Underline"), "80112233\n");
    EXPECT_EQ(MarkupColor({"--kind", "underline", "--color", "80112233"}), "80112233");
    EXPECT_EQ(ReadFile(tracking),
              "{\"path\":\"Options/General/Last Color Highlight\",\"old\":\"FFFFEA3B\","
              "\"new\":\"FF3366CC\"}\n"
              "{\"path\":\"Options/General/Last Color Underline\",\"old\":\"FF44DC5E\","
              "\"new\":\"80112233\"}\n")
        << "an unchanged colour is not reported";
}

// (How many values the schema and each group have is the schema's own
// business: only the form of a listed value is checked.)
TEST_F(OptionsCli, ValuesOfEveryTypeAreShownAndTakenAsText) {
    const Outcome list = Vellum({"options", "list", "--json"});
    ASSERT_EQ(list.exit, 0) << list.err;
    EXPECT_NE(list.out.find("{\"path\":\"Options/Fonts/Default/Family\",\"type\":\"string\","
                            "\"value\":\"Times New Roman\",\"default\":\"Times New Roman\"}"),
              std::string::npos);

    // Per option: the text it is set to, and the text it is shown as.
    for (const auto& [path, text, shown] : std::vector<std::array<std::string, 3>>{
             {"Options/Ink/Opacity", "50", "50"},
             {"Options/Ink/Color", "0x00ABCDEF", "00ABCDEF"},
             {"Options/Forms/TextField/Size/Width", "-20", "-20"},
             {"Options/General/Hibernate on close", "False", "false"},
             {"Options/Paragraph/Line Spacing", "1.5", "1.5"},
             {"Options/MetaData/LastUpdateTime", "2024-05-01T14:30:00+02:00",
              "2024-05-01T12:30:00"},
             {"Options/Fonts/Default/Family", "Zoë Sans", "Zoë Sans"},
             {"Options/Layout/Units", "3", "3"}}) {
        EXPECT_EQ(Vellum({"options", "set", path, text}).exit, 0) << path;
        EXPECT_EQ(Get(path), shown + "\n");
    }
    EXPECT_NE(Vellum({"options", "list", "Ink"})
                  .out.find("Options/Ink/Opacity = 50  (unsigned, default 100)\n"),
              std::string::npos);

    EXPECT_EQ(Vellum({"options", "reset", "Options/Ink/Opacity"}).exit, 0);
    EXPECT_EQ(Get("Options/Ink/Opacity"), "100\n");
    const Outcome all = Vellum({"options", "reset", "--all"});
    EXPECT_EQ(all.exit, 0) << all.err;
    EXPECT_EQ(all.out.rfind("7 options", 0), 0u) << all.out;
    EXPECT_EQ(Vellum({"options", "list", "--json"}).out, list.out);
}

TEST_F(OptionsCli, MistakesChangeNothingAndSayWhy) {
    EXPECT_EQ(Vellum({"options", "set", "Options/Ink/Opacity", "70"}).exit, 0);
    const std::string before = Vellum({"options", "list", "--json"}).out;

    const Outcome unknown = Vellum({"options", "set", "Options/Genral/Last Colr Highlight", "0"});
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_NE(unknown.err.find("the closest are:\n  Options/General/Last Color Highlight"),
              std::string::npos)
        << unknown.err;
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"options", "set", "Options/Ink/Opacity", "-1"},
             {"options", "set", "Options/Ink/Color", "FFEEDD"},
             {"options", "set", "Options/General/Hibernate on close", "maybe"},
             {"options", "set", "Options/Paragraph/Line Spacing", "1e99"},
             {"options", "set", "Options/MetaData/LastUpdateTime", "1969-12-31T00:00:00"},
             {"options", "set", "Options/Ink", "1"},
             {"options", "get"},
             {"options", "frobnicate"}}) {
        const Outcome run = Vellum(wrong);
        EXPECT_EQ(run.exit, 2) << wrong.back() << "\n" << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(Vellum({"options", "list", "--json"}).out, before);

    std::ofstream(store, std::ios::trunc) << "not a database\n";
    const Outcome damaged = Vellum({"options", "set", "Options/Ink/Opacity", "10"});
    EXPECT_EQ(damaged.exit, 1);
    EXPECT_NE(damaged.err.find(store + " is not a database; it was left as it is"),
              std::string::npos)
        << damaged.err;
    EXPECT_EQ(MarkupColor({"--kind", "strikeout"}), "FFFF3724") << "the defaults apply";
    EXPECT_EQ(ReadFile(store), "not a database\n");
}

} // namespace
