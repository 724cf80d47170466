// While a slow download runs, the window's event loop goes on: a real transfer over
// loopback with the keep-alive hook the program installs, and a 10 ms probe timer whose
// events must never be further apart than 50 ms.

#include <gtest/gtest.h>
#include <httplib.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/gate.h"
#include "web/http_transfer.h"

namespace stratocue::ui {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kProbeInterval = 10ms;
constexpr auto kLongestGap = 50ms;
// The server answers once the probe has seen this many events (about a second).
constexpr int kProbeEventsBeforeAnswer = 100;
// How long a server handler waits for its answer at most, so a broken test still ends.
constexpr auto kLongestHold = 20s;
constexpr auto kTrickleStep = 20ms;

using test_support::Gate;

// A loopback server whose pages come slowly: "/held" says nothing until the gate opens,
// "/trickle" sends a byte every 20 ms until then; both end with "done".
class SlowServer {
public:
    SlowServer() {
        server_.Get("/held", [this](const httplib::Request&, httplib::Response& response) {
            gate.waitOpen(kLongestHold);
            response.set_content("done", "text/plain");
        });
        server_.Get("/trickle", [this](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("text/plain", [this](std::size_t, httplib::DataSink& sink) {
                const auto giveUp = Clock::now() + kLongestHold;
                while (!gate.waitOpen(kTrickleStep) && Clock::now() < giveUp) {
                    if (!sink.write(".", 1)) return false;
                }
                sink.write("done", 4);
                sink.done();
                return true;
            });
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        listener_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::yield();
    }
    SlowServer(const SlowServer&) = delete;
    SlowServer& operator=(const SlowServer&) = delete;
    ~SlowServer() {
        gate.open();
        server_.stop();
        listener_.join();
    }

    [[nodiscard]] std::string urlOf(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    Gate gate;

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread listener_;
};

// The largest distance between two neighbouring times.
Clock::duration largestGap(const std::vector<Clock::time_point>& times) {
    Clock::duration largest{};
    for (std::size_t i = 1; i < times.size(); ++i) largest = std::max(largest, times[i] - times[i - 1]);
    return largest;
}

struct SlowPage {
    const char* name;
    const char* path;
};

void PrintTo(const SlowPage& page, std::ostream* out) { *out << page.name; }

class EventLoopDuringDownload : public ::testing::TestWithParam<SlowPage> {};

TEST_P(EventLoopDuringDownload, ProbeTimerNeverWaitsLongerThan50ms) {
    SlowServer server;
    const std::unique_ptr<web::HttpTransfer> transfer = web::makeCurlTransfer();
    // The hook the program installs: the windows' events are handled while a fetch waits.
    transfer->setKeepAlive([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); });

    std::vector<Clock::time_point> probeEvents;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(kProbeInterval);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        probeEvents.push_back(Clock::now());
        if (probeEvents.size() == kProbeEventsBeforeAnswer) server.gate.open();
    });
    probe.start();

    std::vector<std::byte> body;
    const auto started = Clock::now();
    QTimer::singleShot(0, [&] {
        probeEvents.push_back(Clock::now());
        body = transfer->OpenUrl(server.urlOf(GetParam().path));
        probeEvents.push_back(Clock::now());
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    probe.stop();

    ASSERT_GE(probeEvents.size(), static_cast<std::size_t>(kProbeEventsBeforeAnswer));
    const std::string text(reinterpret_cast<const char*>(body.data()), body.size());
    EXPECT_TRUE(text.ends_with("done")) << text;
    const auto gap = std::chrono::duration_cast<std::chrono::microseconds>(largestGap(probeEvents));
    EXPECT_LE(gap, kLongestGap) << "the event loop was blocked for " << gap.count() << " us during a fetch of "
                                << std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count()
                                << " ms";
}

INSTANTIATE_TEST_SUITE_P(SlowPages, EventLoopDuringDownload,
                         ::testing::Values(SlowPage{"AnswerHeldBack", "/held"}, SlowPage{"BodyTrickles", "/trickle"}),
                         [](const ::testing::TestParamInfo<SlowPage>& page) { return std::string(page.param.name); });

}  // namespace
}  // namespace stratocue::ui

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
