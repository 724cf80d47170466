#include "standins/wx/wx_server.h"

#include <httplib.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

#include "standins/wx/wx_routes.h"

namespace stratocue::standins {
namespace {

constexpr const char* kHost = "127.0.0.1";
constexpr const char* kContentType = "text/html";

}  // namespace

struct WxServer::Http {
    httplib::Server server;
};

WxServer::WxServer(WeatherData data, WxFaults faults, std::ostream* requestLog)
    : data_(std::move(data)), faults_(faults), requestLog_(requestLog), http_(std::make_unique<Http>()) {
    http_->server.Get(R"(.*)", [this](const httplib::Request& request, httplib::Response& response) {
        if (faults_.slow) {
            // Held back, but answered at once when the server shuts down.
            [[maybe_unused]] const bool stopping = stopSignal_.waitFor(kSlowAnswerDelay);
        }
        const WxReply reply = withFaults(answerRequest(data_, request.path, request.params), faults_);
        response.status = reply.status;
        response.set_content(reply.body, kContentType);
    });
    if (requestLog_ != nullptr) {
        http_->server.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
            logRequest("standin-wx: " + request.method + " " + request.target + " -> " +
                       std::to_string(response.status) + " (" + std::to_string(response.body.size()) + " bytes)");
        });
    }
}

WxServer::~WxServer() { stop(); }

int WxServer::start(int port) {
    if (serving_.joinable() || stopSignal_.raised()) throw std::runtime_error("the weather server was started before");
    const int boundPort =
        port == 0 ? http_->server.bind_to_any_port(kHost) : (http_->server.bind_to_port(kHost, port) ? port : -1);
    if (boundPort <= 0)
        throw std::runtime_error("cannot listen on " + std::string(kHost) + " port " + std::to_string(port));
    serving_ = std::thread([this] {
        http_->server.listen_after_bind();
        listenEnded_ = true;
    });
    return boundPort;
}

void WxServer::stop() {
    stopSignal_.raise();
    if (!serving_.joinable()) return;
    // The server only takes a stop once its loop runs; one asked for earlier would be lost.
    while (!listenEnded_ && !http_->server.is_running()) std::this_thread::yield();
    http_->server.stop();
    serving_.join();
}

void WxServer::logRequest(const std::string& line) {
    const std::lock_guard lock(logMutex_);
    *requestLog_ << line << std::endl;
}

}  // namespace stratocue::standins
