// The HTTP server of `vellum serve`: the page (the host's ribbon resource
// with the editor's script and style) and the small API it calls, on the
// loopback interface. Handler threads parse and check each request, then
// hand it to the editor session, which does the work on the application's
// UI thread; nothing they do touches a host object.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "EditorSession.h"
#include "RequestGate.h"

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

class EditorServer {
public:
    // Binds 127.0.0.1 at `port` (0: any free port). Throws
    // std::runtime_error when it cannot, or when a resource of the page
    // cannot be read.
    EditorServer(EditorSession& session, int port);
    // Stops serving and waits for the requests being handled.
    ~EditorServer();
    EditorServer(const EditorServer&) = delete;
    EditorServer& operator=(const EditorServer&) = delete;

    // The page's address, with the session's token.
    std::string Url() const;

    static constexpr std::size_t kMaxBody = 16 * 1024;
    static constexpr int kMaxPolls = 6;
    static constexpr int kThreads = 12;

private:
    void AddRoutes();
    void Answer(httplib::Response& res, const std::function<std::string()>& work,
                const char* type = "application/json");
    bool Refused(const httplib::Request& req, httplib::Response& res);

    EditorSession& session_;
    std::unique_ptr<httplib::Server> server_;
    std::unique_ptr<RequestGate> gate_;
    std::map<std::string, std::pair<std::string, std::string>> files_; // route -> type, bytes
    std::atomic<int> polls_{0};
    int port_ = 0;
    std::thread listener_;
};
