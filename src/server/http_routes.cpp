#include "server/http_routes.h"

#include "server/submission_check.h"

namespace {

void send(const Reply& reply, httplib::Response& response)
{
    response.status = reply.status;
    if (reply.retryAfter > 0) response.set_header("Retry-After", std::to_string(reply.retryAfter));
    response.set_content(reply.body, reply.contentType.c_str());
}

std::span<const uint8_t> bodyBytes(const httplib::Request& request)
{
    return {reinterpret_cast<const uint8_t*>(request.body.data()), request.body.size()};
}

// What the library answers by itself (413 for a body over the limit, 404 for a path
// that matches nothing, 400 for a request it cannot read) gets a reason in words too.
void explainBareErrors(const httplib::Request&, httplib::Response& response)
{
    if (!response.body.empty()) return;
    const char* reason = response.status == 413   ? kBodyTooLarge
                         : response.status == 404 ? "nothing is here"
                         : response.status == 400 ? "the request cannot be read"
                                                  : "the request cannot be answered";
    send(errorReply(response.status, reason), response);
}

} // namespace

void addRoutes(httplib::Server& server, Leaderboard& leaderboard, const std::string& trustedProxy)
{
    server.Post("/api/runs", [&leaderboard, trustedProxy](const httplib::Request& request, httplib::Response& response) {
        const std::string address =
            clientAddress(request.remote_addr, request.get_header_value("X-Forwarded-For"), trustedProxy);
        send(leaderboard.submit(address, request.get_param_value("name"), bodyBytes(request)), response);
    });
    server.Get(R"(/api/runs/([^/]+))", [&leaderboard](const httplib::Request& request, httplib::Response& response) {
        send(leaderboard.run(request.matches[1]), response);
    });
    server.Get(R"(/api/runs/([^/]+)/demo)", [&leaderboard](const httplib::Request& request, httplib::Response& response) {
        send(leaderboard.demo(request.matches[1]), response);
    });
    server.Delete(R"(/api/runs/([^/]+))", [&leaderboard](const httplib::Request& request, httplib::Response& response) {
        send(leaderboard.remove(request.matches[1], request.get_param_value("token")), response);
    });
    server.Get(R"(/api/boards/([^/]+))", [&leaderboard](const httplib::Request& request, httplib::Response& response) {
        send(leaderboard.board(request.matches[1]), response);
    });
    server.Get("/api/info", [&leaderboard](const httplib::Request&, httplib::Response& response) {
        send(leaderboard.info(), response);
    });
    server.Get(R"(/boards/([^/]+))", [&leaderboard](const httplib::Request& request, httplib::Response& response) {
        send(leaderboard.boardPage(request.matches[1]), response);
    });
    server.set_pre_routing_handler([&leaderboard](const httplib::Request& request, httplib::Response& response) {
        if (request.path != "/" || (request.method != "GET" && request.method != "HEAD")) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        send(leaderboard.boardPage(""), response);
        return httplib::Server::HandlerResponse::Handled;
    });
    server.set_error_handler(explainBareErrors);
}
