#include "ui/http_transfer.h"
#include "common/ansi_text.h"
#include "tests/support/gate.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace stratocue::ui {
namespace {

using namespace std::chrono_literals;

// Server handlers wait at a gate until the test, or the tear-down, opens it.
using Gate = test_support::Gate;

std::string allByteValues() {
    std::string text;
    for (int round = 0; round < 2; ++round) {
        for (int code = 0; code < 256; ++code) text += static_cast<char>(code);
    }
    return text;
}

std::string oneMebibyte() {
    std::string text;
    for (int index = 0; index < 1024 * 1024; ++index) text += static_cast<char>(index % 251);
    return text;
}

const std::string kHeldBody = "held body";

// What the endless page sends per chunk, and where its server gives up if nobody stops it.
const std::string kEndlessChunk(4096, 'E');
constexpr std::size_t kEndlessGiveUpBytes = 64 * 1024 * 1024;
// What may lie in the socket buffers of both ends once the client has stopped reading.
constexpr std::size_t kEndlessBoundBytes = 16 * 1024 * 1024;

// Runs a loopback server until stop(); returns once it accepts connections. The listener
// shares its "ended" flag, which it still sets long after this function has returned.
void startListening(httplib::Server& server, std::thread& listener) {
    const auto ended = std::make_shared<std::atomic<bool>>(false);
    listener = std::thread([&server, ended] {
        server.listen_after_bind();
        *ended = true;
    });
    while (!server.is_running() && !*ended) std::this_thread::yield();
}

// A loopback port that was listening and is now closed, so connecting is refused.
int portBoundAndClosed() {
    httplib::Server server;
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread listener;
    startListening(server, listener);
    server.stop();
    listener.join();
    return port;
}

// A loopback HTTP server on port 0 that picks its answer from the request path.
class HttpTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_.set_keep_alive_max_count(1);
        server_.Get("/bytes", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(allByteValues(), "application/octet-stream");
        });
        server_.Get("/large", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(oneMebibyte(), "application/octet-stream");
        });
        server_.Get("/longest", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(kLongestBodyBytes, 'L'), "text/plain");
        });
        server_.Get("/one-byte-more", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(kLongestBodyBytes + 1, 'L'), "text/plain");
        });
        // Sends chunks until the client goes away (or, should it never, up to a give-up
        // size), counting what it got out.
        server_.Get("/endless", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider(
                "text/plain",
                [this](std::size_t, httplib::DataSink& sink) {
                    if (endlessBytesSent_ >= kEndlessGiveUpBytes) {
                        sink.done();
                        return true;
                    }
                    if (!sink.write(kEndlessChunk.data(), kEndlessChunk.size())) return false;
                    endlessBytesSent_ += kEndlessChunk.size();
                    return true;
                },
                [this](bool) { endlessEnded_.open(); });
        });
        server_.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.status = std::stoi(req.matches[1].str());
            res.set_content("error page", "text/plain");
        });
        server_.Get("/empty",
                    [](const httplib::Request&, httplib::Response& res) { res.set_content("", "text/plain"); });
        server_.Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
            gate_.waitOpen(3s);
            res.set_content("late", "text/plain");
        });
        server_.Get("/held", [this](const httplib::Request&, httplib::Response& res) {
            gate_.waitOpen(5s);
            res.set_content(kHeldBody, "text/plain");
        });
        server_.Get("/held-fail", [this](const httplib::Request&, httplib::Response& res) {
            gate_.waitOpen(5s);
            res.status = 503;
            res.set_content("busy", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port_, 0);
        startListening(server_, listener_);
        ASSERT_TRUE(server_.is_running());
    }

    void TearDown() override {
        gate_.open();
        server_.stop();
        if (listener_.joinable()) listener_.join();
    }

    [[nodiscard]] std::string urlOf(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    Gate gate_;
    Gate endlessEnded_;
    std::atomic<std::size_t> endlessBytesSent_ = 0;
    httplib::Server server_;
    std::thread listener_;
    int port_ = 0;
    std::unique_ptr<HttpTransfer> transfer_ = makeCurlTransfer();
};

struct BodyCase {
    std::string name;
    std::string path;
    std::string expectedBody;
};

TEST_F(HttpTransferTest, BodyComesBackByteForByte) {
    const std::vector<BodyCase> cases = {
        {"AllByteValuesWithZeroAndAbove127", "/bytes", allByteValues()},
        {"LongestBodyWhole", "/longest", std::string(kLongestBodyBytes, 'L')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::byte> body = transfer_->OpenUrl(urlOf(c.path));
        EXPECT_EQ(body.size(), c.expectedBody.size());
        EXPECT_TRUE(body == bytesFromAnsi(c.expectedBody));
        EXPECT_FALSE(transfer_->StillExecuting());
    }
}

struct FailureCase {
    std::string name;
    std::string url;
    std::int32_t timeoutSeconds;
    std::string expectedInMessage;
};

TEST_F(HttpTransferTest, FailuresRaiseTransferError) {
    const std::string refusedPort = std::to_string(portBoundAndClosed());
    const std::vector<FailureCase> cases = {
        {"NotFound404", urlOf("/status/404"), 30, "HTTP status 404"},
        {"ServerError500", urlOf("/status/500"), 30, "HTTP status 500"},
        {"EmptyBody", urlOf("/empty"), 30, "empty answer"},
        {"OneByteMoreThanABodyHolds", urlOf("/one-byte-more"), 30, "longer than 32767 bytes"},
        {"OneMebibyte", urlOf("/large"), 30, "longer than 32767 bytes"},
        {"NoAnswerWithinOneSecond", urlOf("/silent"), 1, "time-out"},
        {"ConnectionRefused", "http://127.0.0.1:" + refusedPort + "/bytes", 30, "could not connect"},
        {"MalformedUrl", "http://[::1", 30, "invalid URL"},
        {"NotAWebProtocol", "ftp://127.0.0.1/file", 30, "invalid URL"},
        {"EmptyUrl", "", 30, "invalid URL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        transfer_->setRequestTimeout(c.timeoutSeconds);
        try {
            static_cast<void>(transfer_->OpenUrl(c.url));
            ADD_FAILURE() << "no TransferError raised";
        } catch (const TransferError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.expectedInMessage), std::string::npos) << message;
        }
        EXPECT_FALSE(transfer_->StillExecuting());
    }
}

TEST_F(HttpTransferTest, EndlessBodyStopsAtTheLimitAtOnce) {
    // Only a fetch that stops by itself at the limit raises this error: one that buffered
    // everything would get the whole give-up size, one that waited would see the time-out.
    transfer_->setRequestTimeout(3600);
    try {
        static_cast<void>(transfer_->OpenUrl(urlOf("/endless")));
        ADD_FAILURE() << "no TransferError raised";
    } catch (const TransferError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("longer than 32767 bytes"), std::string::npos) << message;
    }
    EXPECT_FALSE(transfer_->StillExecuting());

    // The server stops once the client has gone; what it got out is bounded by the buffers.
    endlessEnded_.waitOpen(60s);
    EXPECT_LT(endlessBytesSent_.load(), kEndlessBoundBytes);
}

TEST_F(HttpTransferTest, CancelFromTheHookEndsTheFetch) {
    int hookCalls = 0;
    transfer_->setKeepAlive([&] {
        ++hookCalls;
        transfer_->Cancel();  // the server holds its answer back until the tear-down
    });
    try {
        static_cast<void>(transfer_->OpenUrl(urlOf("/held")));
        ADD_FAILURE() << "no TransferError raised";
    } catch (const TransferError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("cancelled"), std::string::npos) << message;
    }
    EXPECT_EQ(hookCalls, 1);
    EXPECT_FALSE(transfer_->StillExecuting());

    // A cancel without a running fetch changes nothing; the next fetch runs to its end.
    transfer_->setKeepAlive({});
    transfer_->Cancel();
    EXPECT_EQ(ansiFromBytes(transfer_->OpenUrl(urlOf("/bytes"))), allByteValues());
}

struct ExecutingCase {
    std::string name;
    std::string path;
    bool fetchFails;
};

TEST_F(HttpTransferTest, StillExecutingExactlyWhileAFetchRuns) {
    const std::vector<ExecutingCase> cases = {
        {"SuccessfulFetch", "/held", false},
        {"FailedFetch", "/held-fail", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gate_.close();
        std::vector<bool> seenInHook;
        transfer_->setKeepAlive([&] {
            seenInHook.push_back(transfer_->StillExecuting());
            gate_.open();
        });
        EXPECT_FALSE(transfer_->StillExecuting());
        bool failed = false;
        try {
            static_cast<void>(transfer_->OpenUrl(urlOf(c.path)));
        } catch (const TransferError&) {
            failed = true;
        }
        EXPECT_EQ(failed, c.fetchFails);
        ASSERT_FALSE(seenInHook.empty());
        EXPECT_EQ(seenInHook, std::vector<bool>(seenInHook.size(), true));
        EXPECT_FALSE(transfer_->StillExecuting());
    }
}

TEST_F(HttpTransferTest, SecondFetchFromTheHookIsRefusedAndTheFirstCompletes) {
    std::optional<std::string> refusal;
    bool executingAfterRefusal = false;
    transfer_->setKeepAlive([&] {
        if (refusal) return;
        try {
            static_cast<void>(transfer_->OpenUrl(urlOf("/bytes")));
            refusal = "";
        } catch (const TransferError& error) {
            refusal = error.what();
        }
        executingAfterRefusal = transfer_->StillExecuting();
        gate_.open();
    });
    const std::vector<std::byte> body = transfer_->OpenUrl(urlOf("/held"));
    EXPECT_EQ(ansiFromBytes(body), kHeldBody);
    EXPECT_EQ(refusal, "a transfer is still executing");
    EXPECT_TRUE(executingAfterRefusal);

    transfer_->setKeepAlive({});
    EXPECT_EQ(ansiFromBytes(transfer_->OpenUrl(urlOf("/bytes"))), allByteValues());
}

TEST_F(HttpTransferTest, KeepAliveHookRunsWhileTheAnswerIsAwaited) {
    int hookCalls = 0;
    // The server answers only once the hook has run, so a hook that never runs fails here.
    transfer_->setKeepAlive([&] {
        ++hookCalls;
        gate_.open();
    });
    EXPECT_EQ(ansiFromBytes(transfer_->OpenUrl(urlOf("/held"))), kHeldBody);
    EXPECT_GE(hookCalls, 1);
}

struct TimeoutCase {
    std::string name;
    std::optional<std::int32_t> setSeconds;
    std::int32_t expectedSeconds;
};

TEST(CurlTransferTimeout, KeepsTheRequestTimeoutOfAtLeastOneSecond) {
    const std::vector<TimeoutCase> cases = {
        {"DefaultThirtySeconds", std::nullopt, 30},
        {"FiveSecondsKept", 5, 5},
        {"OneHourKept", 3600, 3600},
        {"ZeroTakenAsOne", 0, 1},
        {"NegativeTakenAsOne", -7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto transfer = makeCurlTransfer();
        if (c.setSeconds) transfer->setRequestTimeout(*c.setSeconds);
        EXPECT_EQ(transfer->requestTimeout(), c.expectedSeconds);
        EXPECT_FALSE(transfer->StillExecuting());
    }
}

}  // namespace
}  // namespace stratocue::ui
