// vellum serve as a page and a hostile neighbour speak to it: the token and
// the Host header on every request, bounded and strictly read requests that
// never reach the plug-in when they do not fit, pointer events taken in
// order, saving, and a shutdown that says what it discarded.
#include <httplib.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "CliFixture.h"

namespace {

int Status(const httplib::Result& result) {
    return result ? result->status : -1;
}

// A running `vellum serve` on in.pdf of the scratch folder, and a client of it.
class EditorServer : public CliFixture {
protected:
    void Serve(std::vector<std::string> args) {
        args.insert(args.begin(), {"serve", "in.pdf"});
        process = std::make_unique<VellumProcess>(Dir(), args);
        if (!process->WaitFor(VellumProcess::Stream::kOutput, "\n", 60))
            throw std::runtime_error("vellum serve printed no address");
        const std::string url = process->Output().substr(0, process->Output().find('\n'));
        // http://127.0.0.1:PORT/TOKEN/
        const std::size_t colon = url.rfind(':'), slash = url.find('/', colon);
        portNumber = std::stoi(url.substr(colon + 1, slash - colon - 1));
        base = url.substr(slash, url.size() - slash - 1);
        client = std::make_unique<httplib::Client>("127.0.0.1", portNumber);
    }

    httplib::Result Post(const std::string& api, const std::string& query = "") {
        return client->Post((base + "/api/" + api + "?" + query).c_str(), "", "text/plain");
    }
    Values State() {
        const auto result = client->Get((base + "/api/state").c_str());
        return result && result->status == 200 ? ProbeJson(result->body) : Values{};
    }
    int Pointer(int seq, const std::string& type, int x, int y) {
        return Status(Post("pointer", "seq=" + std::to_string(seq) + "&type=" + type +
                                          "&button=left&page=1&x=" + std::to_string(x) +
                                          "&y=" + std::to_string(y) + "&first=1&last=1"));
    }
    // A click on the split button with this id, as the page sends it.
    int Click(const std::string& id) {
        return Status(Post("gesture", "kind=click&element=" + Value(State(), "/ids/" + id)));
    }
    // Presses on the title's first character and drags along the title.
    void DragAlongTitle(int firstSeq) {
        EXPECT_EQ(Pointer(firstSeq, "down", 112, 121), 200);
        EXPECT_EQ(Pointer(firstSeq + 1, "move", 300, 121), 200);
        EXPECT_EQ(Pointer(firstSeq + 2, "up", 500, 121), 200);
    }
    // Ends the server as a terminal does: it exits with 0. What it said.
    std::string Stop() {
        process->Signal(SIGTERM);
        const VellumOutcome outcome = process->Wait();
        EXPECT_EQ(outcome.exit, 0) << outcome.err;
        return outcome.err;
    }

    std::unique_ptr<VellumProcess> process;
    std::unique_ptr<httplib::Client> client;
    int portNumber = 0;
    std::string base; // "/TOKEN"
};

TEST_F(EditorServer, RefusesRequestsWithoutTheTokenOrFromAnotherHost) {
    Serve({"-o", "out.pdf"});
    const std::string page = base + "/";

    const auto good = client->Get(page.c_str());
    ASSERT_EQ(Status(good), 200);
    EXPECT_NE(good->body.find("id=\"Highlight\""), std::string::npos);
    EXPECT_NE(good->body.find("editor.js"), std::string::npos);
    EXPECT_EQ(good->get_header_value("Referrer-Policy"), "no-referrer");
    EXPECT_EQ(Status(client->Get((page + "ribbon.css").c_str())), 200);

    std::string wrong = base;
    wrong[1] = wrong[1] == 'a' ? 'b' : 'a';
    for (const std::string& path :
         {std::string("/"), wrong + "/", wrong + "/api/state", base + "x/", "/" + base})
        EXPECT_EQ(Status(client->Get(path.c_str())), 403) << path;
    EXPECT_EQ(Status(client->Get(base.c_str())), 302) << "the token alone leads to the page";

    const std::string port = std::to_string(portNumber);
    for (const std::string& host :
         {"evil.example:" + port, std::string("evil.example"), "127.0.0.2:" + port,
          "localhost:1" + port, "localhost.evil.example:" + port})
        EXPECT_EQ(Status(client->Get(page.c_str(), {{"Host", host}})), 403) << host;
    EXPECT_EQ(Status(client->Get(page.c_str(), {{"Host", "localhost:" + port}})), 200);
    EXPECT_EQ(Status(client->Get(page.c_str(), {{"Host", "127.0.0.1"}})), 200);

    // The port is this server's alone: a second one is refused, not given a
    // share of the connections.
    VellumProcess second(Dir(), {"serve", "in.pdf", "--port", port});
    second.WaitFor(VellumProcess::Stream::kError, "vellum serve:", 30);
    if (!second.Output().empty())
        second.Signal(SIGTERM);
    const VellumOutcome refused = second.Wait();
    ExpectExit(refused, 1, "cannot listen on 127.0.0.1:" + port);

    const std::string said = Stop();
    EXPECT_EQ(said.find("discarded"), std::string::npos) << said;
}

TEST_F(EditorServer, MalformedOrOversizedRequestsAreRefusedAndChangeNothing) {
    Serve({"-o", "out.pdf"});
    ASSERT_EQ(Click("Highlight"), 200);
    const std::string ok = "button=left&page=1&x=112&y=121&first=1&last=1";
    const std::pair<std::string, int> requests[] = {
        {"pointer?seq=1&type=jump&" + ok, 400},
        {"pointer?seq=x&type=down&" + ok, 400},
        {"pointer?type=down&" + ok, 400},
        {"pointer?seq=1&seq=2&type=down&" + ok, 400},
        {"pointer?seq=1&type=down&button=left&page=0&x=1&y=1&first=1&last=1", 400},
        {"pointer?seq=1&type=down&button=left&page=99&x=1&y=1&first=1&last=1", 404},
        {"pointer?seq=1&type=down&button=left&page=1&x=1e3&y=1&first=1&last=1", 400},
        {"pointer?seq=1&type=down&button=left&page=1&x=99999999&y=1&first=1&last=1", 400},
        {"pointer?seq=1&type=down&button=left&page=1&x=1&y=1&first=3&last=1", 400},
        {"gesture?kind=click&element=100000", 404},
        {"gesture?kind=color&element=16&color=red", 400},
        {"gesture?kind=popup&element=13", 400},
        {"gesture?kind=wave&element=13", 400},
        {"zoom?zoom=nan", 400},
        {"zoom?zoom=100", 400},
    };
    for (const auto& [request, status] : requests) {
        const auto api = request.substr(0, request.find('?'));
        EXPECT_EQ(Status(Post(api, request.substr(api.size() + 1))), status) << request;
    }
    const std::string big(64 * 1024, 'x');
    EXPECT_EQ(Status(client->Post((base + "/api/undo").c_str(), big, "text/plain")), 413);
    EXPECT_EQ(Status(client->Get((base + "/api/page?n=6").c_str())), 404);

    const Values state = State();
    EXPECT_EQ(Value(state, "/document/undo"), "0");
    EXPECT_EQ(Value(state, "/document/version"), "1") << "no page changed";
    const std::string said = Stop();
    EXPECT_EQ(said.find("discarded"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(Path("out.pdf")));
}

TEST_F(EditorServer, PointerEventsTakenInOrderSavedAndTheRestDiscardedOnShutdown) {
    Serve({"-o", "out.pdf"});
    ASSERT_EQ(Click("Highlight"), 200);
    EXPECT_EQ(Value(State(), "/document/tool"), "AddTextMarkupAnnot");

    DragAlongTitle(10);
    EXPECT_EQ(Pointer(12, "down", 112, 121), 409) << "an event out of order is refused";
    EXPECT_EQ(Pointer(5, "move", 112, 121), 409);
    Values state = State();
    EXPECT_EQ(Value(state, "/document/undo"), "1") << "one drag, one step";
    EXPECT_EQ(Value(state, "/document/unsaved"), "true");

    ASSERT_EQ(Status(Post("save")), 200);
    EXPECT_EQ(Value(State(), "/document/unsaved"), "false");
    // A second drag that is undone and redone is a change all the same.
    DragAlongTitle(20);
    EXPECT_EQ(Status(Post("undo")), 200);
    EXPECT_EQ(Value(State(), "/document/redo"), "1");
    EXPECT_EQ(Status(Post("redo")), 200);

    const std::string said = Stop();
    EXPECT_NE(said.find("the unsaved changes to in.pdf were discarded"), std::string::npos) << said;
    const Values saved = ProbeAnnots(Path("out.pdf"));
    EXPECT_EQ(Value(saved, "/pages/0/annots/#"), "1");
    EXPECT_EQ(Value(saved, "/pages/0/annots/0/subtype"), "/Highlight");
}

TEST_F(EditorServer, SavingOverTheDocumentTakesAConfirmation) {
    Serve({});
    const std::string before = ReadFile(Path("in.pdf"));
    ASSERT_EQ(Click("Underline"), 200);
    DragAlongTitle(1);
    EXPECT_EQ(Status(Post("save")), 409);
    EXPECT_EQ(ReadFile(Path("in.pdf")), before);
    EXPECT_EQ(Status(Post("save", "overwrite=1")), 200);

    Stop();
    const std::string after = ReadFile(Path("in.pdf"));
    EXPECT_EQ(after.compare(0, before.size(), before), 0) << "saved incrementally";
    EXPECT_EQ(Value(ProbeAnnots(Path("in.pdf")), "/pages/0/annots/0/subtype"), "/Underline");
}

} // namespace
