// The loopback server over cpp-httplib, for the Linux tests.

#include <httplib.h>

#include <atomic>
#include <memory>
#include <thread>

#include "tests/support/loopback_http_record.h"
#include "tests/support/loopback_http_server.h"

namespace stratocue::test_support {
namespace {

// Runs the server until stop(); returns once it accepts connections. The listener shares
// its "ended" flag, which it still sets after this function has returned.
std::thread startListening(httplib::Server& server) {
    const auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread listener([&server, ended] {
        server.listen_after_bind();
        *ended = true;
    });
    while (!server.is_running() && !*ended) std::this_thread::yield();
    return listener;
}

void answerWith(const LoopbackAnswer& answer, httplib::Response& response, LoopbackRecord& record) {
    response.status = answer.status;
    if (!answer.location.empty()) response.set_header("Location", answer.location);
    if (!answer.endless) {
        response.set_content(answer.body, "text/plain");
        return;
    }
    const std::string chunk = answer.body;
    response.set_chunked_content_provider(
        "text/plain",
        [chunk, &record](std::size_t, httplib::DataSink& sink) {
            if (record.endlessBytesSent() >= kEndlessGiveUpBytes) {
                sink.done();
                return true;
            }
            if (!sink.write(chunk.data(), chunk.size())) return false;
            record.noteEndlessBytes(chunk.size());
            return true;
        },
        [&record](bool) { record.noteEndlessEnded(); });
}

}  // namespace

class LoopbackHttpServer::Platform {
public:
    Platform(Handler handler, LoopbackRecord& record) : record_(record) {
        server_.set_keep_alive_max_count(1);
        server_.Get(".*",
                    [this, handler = std::move(handler)](const httplib::Request& request, httplib::Response& response) {
                        record_.noteUserAgent(request.get_header_value("User-Agent"));
                        answerWith(handler(request.path), response, record_);
                    });
        port_ = server_.bind_to_any_port("127.0.0.1");
        listener_ = startListening(server_);
    }
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    Platform(Platform&&) = delete;
    Platform& operator=(Platform&&) = delete;
    ~Platform() {
        server_.stop();
        if (listener_.joinable()) listener_.join();
    }

    [[nodiscard]] int port() const { return port_; }

private:
    LoopbackRecord& record_;
    httplib::Server server_;
    std::thread listener_;
    int port_ = 0;
};

LoopbackHttpServer::LoopbackHttpServer(Handler handler)
    : platform_(std::make_unique<Platform>(std::move(handler), *record_)), port_(platform_->port()) {}
LoopbackHttpServer::~LoopbackHttpServer() = default;

int refusedLoopbackPort() {
    httplib::Server server;
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread listener = startListening(server);
    server.stop();
    listener.join();
    return port;
}

}  // namespace stratocue::test_support
