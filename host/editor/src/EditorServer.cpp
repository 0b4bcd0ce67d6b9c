#include "EditorServer.h"

#include <httplib.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "EditorRefusal.h"
#include "JsonWriter.h"
#include "RequestValues.h"
#include "bl/BLInputHandler.h"
#include "uiengine/ElementTree.h"
#include "uiengine/UIThread.h"

namespace {

namespace Input = BLInputEventTypes;

// How long a poll for a new state waits before it answers with the old one.
constexpr std::chrono::seconds kPollWait{15};
constexpr int32_t kMaxOffset = 1 << 20; // pixels off a page's corner
constexpr uint64_t kMaxCount = uint64_t{1} << 40;

std::string ReadResource(const std::string& name) {
    const std::string path = UIEngine::ElementTree::ResourcePath(name);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in)
        throw std::runtime_error("cannot read the editor's resource '" + path + "'");
    return bytes.str();
}

// The ribbon as the engine parses it, with the editor's style and script
// after its last element, so that every element keeps its position in
// document order.
std::string EditorPage() {
    std::string page = ReadResource("ribbon.html");
    const std::size_t end = page.rfind("</body>");
    if (end == std::string::npos)
        throw std::runtime_error("the ribbon resource has no </body>");
    page.insert(end, "<link rel=\"stylesheet\" href=\"editor.css\">\n"
                     "<script src=\"editor.js\"></script>\n");
    return page;
}

std::string ErrorJson(const std::string& message) {
    JsonWriter json;
    json.BeginObject().Key("error").String(message).EndObject();
    return json.Text();
}

void Fail(httplib::Response& res, int status, const std::string& message) {
    res.status = status;
    res.set_content(ErrorJson(message), "application/json");
}

} // namespace

EditorServer::EditorServer(EditorSession& session, int port)
    : session_(session), server_(std::make_unique<httplib::Server>()) {
    files_["/"] = {"text/html; charset=utf-8", EditorPage()};
    files_["/ribbon.css"] = {"text/css", ReadResource("ribbon.css")};
    files_["/editor.css"] = {"text/css", ReadResource("editor.css")};
    files_["/editor.js"] = {"text/javascript", ReadResource("editor.js")};

    server_->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
    server_->set_payload_max_length(kMaxBody);
    server_->set_keep_alive_timeout(5);
    // A pointer's answer must not wait for the acknowledgement of its
    // headers (Nagle's algorithm against delayed ACKs costs 40 ms), nor for
    // a new connection every few requests.
    server_->set_tcp_nodelay(true);
    server_->set_keep_alive_max_count(100000);
    server_->set_read_timeout(10);
    // One server to a port: the library's default lets a second listener
    // share the port, and with it this one's connections.
    server_->set_socket_options([](auto sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    port_ = port == 0 ? server_->bind_to_any_port("127.0.0.1")
                      : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
    if (port_ <= 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    gate_ = std::make_unique<RequestGate>(RequestGate::NewToken(), port_);
    server_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        return Refused(req, res) ? httplib::Server::HandlerResponse::Handled
                                 : httplib::Server::HandlerResponse::Unhandled;
    });
    AddRoutes();
    listener_ = std::thread([this] { server_->listen_after_bind(); });
}

EditorServer::~EditorServer() {
    session_.StopWaiting();
    server_->stop();
    if (listener_.joinable())
        listener_.join();
}

std::string EditorServer::Url() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + gate_->Token() + "/";
}

bool EditorServer::Refused(const httplib::Request& req, httplib::Response& res) {
    // The address carries the token: no page may pass it on.
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Cache-Control", "no-store");
    std::string reason;
    if (const int status = gate_->Check(req.get_header_value("Host"), req.path, &reason)) {
        Fail(res, status, reason);
        return true;
    }
    if (req.path == "/" + gate_->Token()) {
        res.set_redirect(req.path + "/");
        return true;
    }
    return false;
}

void EditorServer::Answer(httplib::Response& res, const std::function<std::string()>& work,
                          const char* type) {
    try {
        res.set_content(work(), type);
    } catch (const EditorRefusal& e) {
        Fail(res, e.Status(), e.what());
    } catch (const UIEngine::UIThreadStopped& e) {
        Fail(res, HttpStatus::kServerError, "the editor is shutting down");
    } catch (const std::exception& e) {
        Fail(res, HttpStatus::kServerError, e.what());
    }
}

void EditorServer::AddRoutes() {
    using httplib::Request;
    using httplib::Response;
    namespace V = RequestValues;
    const std::string base = "/" + gate_->Token();

    for (const auto& [route, file] : files_) {
        server_->Get(base + route, [this, route = route](const Request&, Response& res) {
            const auto& [type, bytes] = files_.at(route);
            if (route == "/")
                res.set_header("Content-Security-Policy",
                               "default-src 'self'; style-src 'self' 'unsafe-inline'; "
                               "img-src 'self' blob:; frame-ancestors 'none'");
            res.set_content(bytes, type.c_str());
        });
    }

    server_->Get(base + "/api/state", [this](const Request& req, Response& res) {
        Answer(res, [&] {
            const uint64_t after = req.has_param("after") ? V::Unsigned(req, "after", kMaxCount) : 0;
            if (++polls_ > kMaxPolls) {
                --polls_;
                throw EditorRefusal(HttpStatus::kTooManyRequests, "too many pages are waiting");
            }
            struct Leave {
                std::atomic<int>& polls;
                ~Leave() { --polls; }
            } leave{polls_};
            return session_.State(after, std::chrono::milliseconds(kPollWait));
        });
    });

    server_->Post(base + "/api/gesture", [this](const Request& req, Response& res) {
        Answer(res, [&] {
            static const char* const kKinds[] = {"click", "popup", "color", nullptr};
            const auto gesture = static_cast<EditorSession::Gesture>(V::Choice(req, "kind", kKinds));
            const auto element = static_cast<uint32_t>(V::Unsigned(req, "element", UINT32_MAX));
            const uint32_t color =
                gesture == EditorSession::Gesture::kChooseColor ? V::Color(req, "color") : 0;
            return session_.Perform(gesture, element, color);
        });
    });

    server_->Post(base + "/api/pointer", [this](const Request& req, Response& res) {
        const auto start = std::chrono::steady_clock::now();
        Answer(res, [&] {
            static const char* const kTypes[] = {"down", "move", "up", nullptr};
            static const uint32_t kTypeCodes[] = {Input::kButtonDown, Input::kMouseMove,
                                                  Input::kButtonUp};
            static const char* const kButtons[] = {"left", "finish", nullptr};
            static const uint32_t kButtonCodes[] = {Input::kLeftButton, Input::kFinishButton};
            EditorSession::Pointer pointer{};
            pointer.sequence = V::Unsigned(req, "seq", kMaxCount);
            pointer.type = kTypeCodes[V::Choice(req, "type", kTypes)];
            pointer.button = kButtonCodes[V::Choice(req, "button", kButtons)];
            pointer.page = V::Unsigned(req, "page", kMaxCount);
            if (pointer.page == 0)
                throw EditorRefusal(HttpStatus::kBadRequest, "pages count from 1");
            --pointer.page;
            pointer.x = V::Signed(req, "x", kMaxOffset);
            pointer.y = V::Signed(req, "y", kMaxOffset);
            pointer.firstShown = V::Unsigned(req, "first", kMaxCount);
            pointer.lastShown = V::Unsigned(req, "last", kMaxCount);
            if (pointer.firstShown == 0 || pointer.lastShown == 0)
                throw EditorRefusal(HttpStatus::kBadRequest, "pages count from 1");
            --pointer.firstShown;
            --pointer.lastShown;
            return session_.HandlePointer(pointer);
        });
        // The server's share of the pointer's way to the overlay, for the
        // page's resource timing (and the latency benchmark).
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        res.set_header("Server-Timing", "pointer;dur=" + std::to_string(spent.count()));
    });

    server_->Post(base + "/api/undo", [this](const Request&, Response& res) {
        Answer(res, [&] { return session_.Undo(); });
    });
    server_->Post(base + "/api/redo", [this](const Request&, Response& res) {
        Answer(res, [&] { return session_.Redo(); });
    });
    server_->Post(base + "/api/zoom", [this](const Request& req, Response& res) {
        Answer(res, [&] { return session_.SetZoom(V::Number(req, "zoom")); });
    });
    server_->Post(base + "/api/save", [this](const Request& req, Response& res) {
        Answer(res, [&] {
            return session_.Save(req.has_param("overwrite") && V::Text(req, "overwrite") == "1");
        });
    });

    server_->Get(base + "/api/page", [this](const Request& req, Response& res) {
        Answer(
            res,
            [&] {
                const uint64_t page = V::Unsigned(req, "n", kMaxCount);
                if (page == 0)
                    throw EditorRefusal(HttpStatus::kBadRequest, "pages count from 1");
                return session_.PagePNG(page - 1);
            },
            "image/png");
    });
}
