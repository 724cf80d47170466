#include "standins/wx/wx_server.h"

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

#include "standins/wx/wx_routes.h"

namespace stratocue::standins {
namespace {

constexpr const char* kHost = "127.0.0.1";

// The endless fault: the page, then filler without end. The stand-in still stops by
// itself: after kEndlessBodyBytes it holds the connection open without a last chunk for
// kEndlessHold, then drops it.
constexpr std::size_t kEndlessBodyBytes = 64 * 1024 * 1024;
constexpr std::chrono::seconds kEndlessHold{60};
constexpr std::size_t kFillerChunkBytes = 16 * 1024;

// Sends the reply's body and then filler in chunks until the client goes away, the server
// stops or the bound is reached.
void sendWithoutEnd(httplib::Response& response, const WxReply& reply, const StopSignal& stopSignal) {
    response.set_chunked_content_provider(
        std::string(reply.contentType),
        [page = reply.body, filler = std::string(kFillerChunkBytes, 'x'), sent = std::size_t{0}, &stopSignal](
            std::size_t, httplib::DataSink& sink) mutable {
            if (stopSignal.raised()) return false;
            if (sent >= kEndlessBodyBytes) {
                [[maybe_unused]] const bool stopping = stopSignal.waitFor(kEndlessHold);
                return false;  // drops the connection; the body never ends
            }
            const std::string& chunk = sent == 0 ? page : filler;
            sent += chunk.size();
            return sink.write(chunk.data(), chunk.size());
        });
}

}  // namespace

struct WxServer::Http {
    httplib::Server server;
};

WxServer::WxServer(WeatherData data, WxFaults faults, std::ostream* requestLog)
    : data_(std::move(data)), faults_(faults), requestLog_(requestLog), http_(std::make_unique<Http>()) {
    http_->server.Get(R"(.*)", [this](const httplib::Request& request, httplib::Response& response) {
        if (faults_.slow) {
            // Held back, but answered at once when the server shuts down.
            [[maybe_unused]] const bool stopping = stopSignal_.waitFor(faults_.slowDelay);
        }
        const WxReply reply = withServiceFault(withFaults(answerRequest(data_, request.path, request.params), faults_),
                                               request.path, faults_);
        response.status = reply.status;
        if (faults_.endless) {
            sendWithoutEnd(response, reply, stopSignal_);
        } else {
            response.set_content(reply.body, std::string(reply.contentType));
        }
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
