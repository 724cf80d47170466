// The loopback server over winsock, for the Windows tests under Wine.

#include "tests/support/loopback_http_server.h"
#include "tests/support/winsock_http_server.h"

namespace stratocue::test_support {

class LoopbackHttpServer::Platform {
public:
    Platform(Handler handler, LoopbackRecord& record)
        : server_(
              [handler = std::move(handler)](const std::string& path) {
                  const LoopbackAnswer answer = handler(path);
                  return tests::HttpAnswer{
                      .status = answer.status,
                      .body = answer.body,
                      .extraHeaders = answer.location.empty() ? "" : "Location: " + answer.location + "\r\n",
                      .endless = answer.endless};
              },
              &record) {}

    [[nodiscard]] int port() const { return server_.port(); }

private:
    tests::WinsockHttpServer server_;
};

LoopbackHttpServer::LoopbackHttpServer(Handler handler)
    : platform_(std::make_unique<Platform>(std::move(handler), *record_)), port_(platform_->port()) {}
LoopbackHttpServer::~LoopbackHttpServer() = default;

int refusedLoopbackPort() {
    const tests::WinsockSession winsock;
    int port = 0;
    closesocket(tests::listenOnLoopback(port));
    return port;
}

}  // namespace stratocue::test_support
