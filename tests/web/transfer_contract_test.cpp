// The transfer component's contract, one body run over every implementation: the
// platform's transfer (libcurl on Linux, WinINet in the Windows build under Wine) against a
// loopback server, and, for what it claims too, the scripted transfer the other suites use.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/ansi_text.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/recording_event_log.h"
#include "tests/support/scripted_transfer.h"
#include "web/http_transfer.h"

namespace stratocue::web {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test_support::LoopbackAnswer;

std::string allByteValues() {
    std::string text;
    for (int round = 0; round < 2; ++round) {
        for (int code = 0; code < 256; ++code) text += static_cast<char>(code);
    }
    return text;
}

std::string patternOf(std::size_t size) {
    std::string text;
    for (std::size_t index = 0; index < size; ++index) text += static_cast<char>(index % 251);
    return text;
}

const std::string kHeldBody = "held body";
const std::string kArrived = "arrived";
// What may lie in the socket buffers of both ends once the client has stopped reading.
constexpr std::size_t kEndlessBoundBytes = 16 * 1024 * 1024;

// Waits until `condition` holds, at most `limit`; true when it does.
bool waitUntil(const std::function<bool()>& condition, Clock::duration limit) {
    const auto giveUp = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Held answers wait until the test, or the tear-down, lets them go.
class HeldAnswers {
public:
    void open() { open_ = true; }
    void close() { open_ = false; }
    void waitOpen(std::chrono::milliseconds limit) const {
        static_cast<void>(waitUntil([this] { return open_.load(); }, limit));
    }

private:
    std::atomic<bool> open_ = false;
};

LoopbackAnswer page(int status, std::string body) {
    LoopbackAnswer answer;
    answer.status = status;
    answer.body = std::move(body);
    return answer;
}

LoopbackAnswer redirectTo(std::string location) {
    LoopbackAnswer answer = page(302, "moved");
    answer.location = std::move(location);
    return answer;
}

// The transfer of the build's platform.
struct PlatformTransfer {
    static std::unique_ptr<HttpTransfer> make(TransferSettings settings = {}) {
#ifdef _WIN32
        return makeWinInetTransfer(settings);
#else
        return makeCurlTransfer(settings);
#endif
    }
    static void servePages(HttpTransfer&, const std::function<std::string(const std::string&)>&) {}
    static void whileAwaited(HttpTransfer& transfer, std::function<void()> hook) {
        transfer.setKeepAlive(std::move(hook));
    }
};

// The scripted transfer: it answers the pages the loopback server would, and runs the
// hook once while a page is awaited.
struct ScriptedTransfer {
    static std::unique_ptr<HttpTransfer> make(TransferSettings = {}) {
        return std::make_unique<test_support::ScriptedTransfer>();
    }
    static void servePages(HttpTransfer& transfer, const std::function<std::string(const std::string&)>& urlOf) {
        auto& scripted = dynamic_cast<test_support::ScriptedTransfer&>(transfer);
        scripted.serve(urlOf("/bytes"), allByteValues());
        scripted.serve(urlOf("/held"), kHeldBody);
    }
    static void whileAwaited(HttpTransfer& transfer, std::function<void()> hook) {
        dynamic_cast<test_support::ScriptedTransfer&>(transfer).onRequest = std::move(hook);
    }
};

template <typename Kind>
class TransferContract : public ::testing::Test {
protected:
    TransferContract() {
        Kind::servePages(*transfer_, [this](const std::string& path) { return url(path); });
    }
    ~TransferContract() override { held_.open(); }

    LoopbackAnswer answer(const std::string& path) {
        if (path == "/bytes") return page(200, allByteValues());
        if (path == "/longest") return page(200, patternOf(kLongestBodyBytes));
        if (path == "/one-byte-more") return page(200, patternOf(kLongestBodyBytes + 1));
        if (path == "/large") return page(200, patternOf(1024 * 1024));
        if (path == "/empty") return page(200, "");
        if (path == "/no-content") return page(204, "");
        if (path.rfind("/status/", 0) == 0) return page(std::stoi(path.substr(8)), "error page");
        if (path == "/endless") {
            LoopbackAnswer endless = page(200, std::string(4096, 'E'));
            endless.endless = true;
            return endless;
        }
        if (path == "/silent") {
            held_.waitOpen(3s);
            return page(200, "late");
        }
        if (path == "/held") {
            held_.waitOpen(5s);
            ++heldAnswered_;
            return page(200, kHeldBody);
        }
        if (path == "/held-fail") {
            held_.waitOpen(5s);
            return page(503, "busy");
        }
        if (path == "/to-ftp") return redirectTo("ftp://127.0.0.1/file");
        if (path.rfind("/redirect/", 0) == 0) {
            // /redirect/N answers with a relative redirect to /redirect/N-1; /redirect/0 arrives.
            const int left = std::stoi(path.substr(10));
            if (left == 0) return page(200, kArrived);
            return redirectTo(std::to_string(left - 1));
        }
        return page(404, "not here");
    }

    [[nodiscard]] std::string url(const std::string& path) const { return server_.url(path); }

    HeldAnswers held_;
    std::atomic<int> heldAnswered_ = 0;
    test_support::LoopbackHttpServer server_{[this](const std::string& path) { return answer(path); }};
    std::unique_ptr<HttpTransfer> transfer_ = Kind::make();
};

// What every transfer claims, the scripted one included.
using EveryTransfer = ::testing::Types<PlatformTransfer, ScriptedTransfer>;
TYPED_TEST_SUITE(TransferContract, EveryTransfer);

// What only a transfer over the network claims.
template <typename Kind>
using NetworkTransferContract = TransferContract<Kind>;
using NetworkTransfers = ::testing::Types<PlatformTransfer>;
TYPED_TEST_SUITE(NetworkTransferContract, NetworkTransfers);

struct ExecutingCase {
    std::string name;
    std::string path;
    bool fetchFails;
};

TYPED_TEST(TransferContract, StillExecutingExactlyWhileAFetchRuns) {
    HttpTransfer& transfer = *this->transfer_;
    const std::vector<ExecutingCase> cases = {
        {"SuccessfulFetch", "/held", false},
        {"FailedFetch", "/held-fail", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        this->held_.close();
        std::vector<bool> seenInHook;
        TypeParam::whileAwaited(transfer, [&] {
            seenInHook.push_back(transfer.StillExecuting());
            this->held_.open();
        });
        EXPECT_FALSE(transfer.StillExecuting());
        bool failed = false;
        try {
            static_cast<void>(transfer.OpenUrl(this->url(c.path)));
        } catch (const TransferError&) {
            failed = true;
        }
        EXPECT_EQ(failed, c.fetchFails);
        ASSERT_FALSE(seenInHook.empty());
        EXPECT_EQ(seenInHook, std::vector<bool>(seenInHook.size(), true));
        EXPECT_FALSE(transfer.StillExecuting());
    }
}

TYPED_TEST(TransferContract, SecondFetchFromTheHookIsRefusedAndTheFirstCompletes) {
    HttpTransfer& transfer = *this->transfer_;
    std::optional<std::string> refusal;
    bool executingAfterRefusal = false;
    TypeParam::whileAwaited(transfer, [&] {
        if (refusal) return;
        try {
            static_cast<void>(transfer.OpenUrl(this->url("/bytes")));
            refusal = "";
        } catch (const TransferError& error) {
            refusal = error.what();
        }
        executingAfterRefusal = transfer.StillExecuting();
        this->held_.open();
    });
    EXPECT_EQ(ansiFromBytes(transfer.OpenUrl(this->url("/held"))), kHeldBody);
    EXPECT_EQ(refusal, "a transfer is still executing");
    EXPECT_TRUE(executingAfterRefusal);

    TypeParam::whileAwaited(transfer, {});
    EXPECT_EQ(ansiFromBytes(transfer.OpenUrl(this->url("/bytes"))), allByteValues());
}

TYPED_TEST(TransferContract, KeepAliveHookRunsWhileTheAnswerIsAwaited) {
    HttpTransfer& transfer = *this->transfer_;
    int hookCalls = 0;
    // The server answers only once the hook has run, so a hook that never runs fails here.
    TypeParam::whileAwaited(transfer, [&] {
        ++hookCalls;
        this->held_.open();
    });
    EXPECT_EQ(ansiFromBytes(transfer.OpenUrl(this->url("/held"))), kHeldBody);
    EXPECT_GE(hookCalls, 1);
}

TYPED_TEST(TransferContract, CancelFromTheHookEndsTheFetchAndTheNextOneWorks) {
    HttpTransfer& transfer = *this->transfer_;
    transfer.Cancel();  // nothing runs: no effect on the next fetch
    int hookCalls = 0;
    TypeParam::whileAwaited(transfer, [&] {
        ++hookCalls;
        transfer.Cancel();  // the server holds its answer back until the tear-down
    });
    try {
        static_cast<void>(transfer.OpenUrl(this->url("/held")));
        ADD_FAILURE() << "no TransferError raised";
    } catch (const TransferError& error) {
        EXPECT_NE(std::string(error.what()).find("cancelled"), std::string::npos) << error.what();
    }
    EXPECT_EQ(hookCalls, 1);
    EXPECT_FALSE(transfer.StillExecuting());

    // A cancel without a running fetch changes nothing; the next fetch runs to its end.
    TypeParam::whileAwaited(transfer, {});
    transfer.Cancel();
    EXPECT_EQ(ansiFromBytes(transfer.OpenUrl(this->url("/bytes"))), allByteValues());
}

struct BodyCase {
    std::string name;
    std::string path;
    std::string expectedBody;
};

TYPED_TEST(NetworkTransferContract, BodyComesBackByteForByte) {
    const std::vector<BodyCase> cases = {
        {"AllByteValuesWithZeroAndAbove127", "/bytes", allByteValues()},
        {"TheLongestBodyWhole", "/longest", patternOf(kLongestBodyBytes)},
        {"FiveRedirectsFollowed", "/redirect/5", kArrived},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::byte> body = this->transfer_->OpenUrl(this->url(c.path));
        EXPECT_EQ(body.size(), c.expectedBody.size());
        EXPECT_TRUE(body == bytesFromAnsi(c.expectedBody));
        EXPECT_FALSE(this->transfer_->StillExecuting());
    }
}

struct FailureCase {
    std::string name;
    std::string url;
    std::int32_t timeoutSeconds;
    std::string expectedInMessage;
};

TYPED_TEST(NetworkTransferContract, FailuresRaiseTransferError) {
    const std::string refusedPort = std::to_string(test_support::refusedLoopbackPort());
    const std::vector<FailureCase> cases = {
        {"NotFound404", this->url("/status/404"), 30, "HTTP status 404"},
        {"ServerError500", this->url("/status/500"), 30, "HTTP status 500"},
        {"EmptyBody", this->url("/empty"), 30, "empty answer"},
        {"OneByteMoreThanABodyHolds", this->url("/one-byte-more"), 30, "longer than 32767 bytes"},
        {"OneMebibyte", this->url("/large"), 30, "longer than 32767 bytes"},
        {"NoAnswerWithinOneSecond", this->url("/silent"), 1, "time-out"},
        {"ConnectionRefused", "http://127.0.0.1:" + refusedPort + "/bytes", 30, "could not connect"},
        {"SixRedirects", this->url("/redirect/6"), 30, "more than 5 redirects"},
        {"RedirectToAnotherProtocol", this->url("/to-ftp"), 30, "invalid URL"},
        {"MalformedUrl", "http://[::1", 30, "invalid URL"},
        {"NotAWebProtocol", "ftp://127.0.0.1/file", 30, "invalid URL"},
        {"EmptyUrl", "", 30, "invalid URL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        this->transfer_->setRequestTimeout(c.timeoutSeconds);
        try {
            static_cast<void>(this->transfer_->OpenUrl(c.url));
            ADD_FAILURE() << "no TransferError raised";
        } catch (const TransferError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.expectedInMessage), std::string::npos) << message;
        }
        EXPECT_FALSE(this->transfer_->StillExecuting());
    }
}

struct ResponseCase {
    std::string name;
    std::string path;
    long expectedStatus;
    std::string expectedBody;
    bool openUrlAccepts;
};

TYPED_TEST(NetworkTransferContract, FetchResponseHandsOutEveryAnswerOpenUrlOnlyPages) {
    const std::vector<ResponseCase> cases = {
        {"Found", "/bytes", 200, allByteValues(), true},
        {"NotFoundWithItsPage", "/status/404", 404, "error page", false},
        {"BadRequestWithItsPage", "/status/400", 400, "error page", false},
        {"ServerErrorWithItsPage", "/status/500", 500, "error page", false},
        {"EmptyBody", "/empty", 200, "", false},
        {"NoContent", "/no-content", 204, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HttpResponse response = this->transfer_->FetchResponse(this->url(c.path));
        EXPECT_EQ(response.status, c.expectedStatus);
        EXPECT_EQ(ansiFromBytes(response.body), c.expectedBody);
        EXPECT_FALSE(this->transfer_->StillExecuting());
        if (c.openUrlAccepts) {
            EXPECT_EQ(ansiFromBytes(this->transfer_->OpenUrl(this->url(c.path))), c.expectedBody);
        } else {
            EXPECT_THROW(static_cast<void>(this->transfer_->OpenUrl(this->url(c.path))), TransferError);
        }
    }
}

TYPED_TEST(NetworkTransferContract, FetchResponseWithoutAnAnswerIsStillATransferError) {
    EXPECT_THROW(static_cast<void>(this->transfer_->FetchResponse("ftp://127.0.0.1/file")), TransferError);
    EXPECT_THROW(static_cast<void>(this->transfer_->FetchResponse("")), TransferError);
}

TYPED_TEST(NetworkTransferContract, SendsTheProgramsUserAgent) {
    static_cast<void>(this->transfer_->OpenUrl(this->url("/bytes")));
    EXPECT_EQ(this->server_.lastUserAgent(), kUserAgent);
}

TYPED_TEST(NetworkTransferContract, TellsEachRequestToTheLog) {
    test_support::RecordingEventLog log;
    const auto transfer = TypeParam::make({.eventLog = &log});
    static_cast<void>(transfer->OpenUrl(this->url("/bytes")));
    static_cast<void>(transfer->FetchResponse(this->url("/status/503")));
    EXPECT_THROW(static_cast<void>(transfer->OpenUrl("ftp://127.0.0.1/file")), TransferError);
    const std::string server = this->url("").substr(std::string("http://").size());
    const std::string expectedStarts[] = {
        "request " + server + " " + this->url("/bytes") + ": status 200, 512 bytes, ",
        "request " + server + " " + this->url("/status/503") + ": status 503, 10 bytes, ",
        "request 127.0.0.1 ftp://127.0.0.1/file: failed after ",
    };
    ASSERT_EQ(log.events.size(), std::size(expectedStarts));
    for (std::size_t index = 0; index < log.events.size(); ++index) {
        EXPECT_TRUE(log.events[index].starts_with(expectedStarts[index])) << log.events[index];
    }
}

TYPED_TEST(NetworkTransferContract, EndlessBodyStopsAtTheLimitAtOnce) {
    // Only a fetch that stops by itself at the limit raises this error: one that buffered
    // everything would get the whole give-up size, one that waited would see the time-out.
    this->transfer_->setRequestTimeout(3600);
    try {
        static_cast<void>(this->transfer_->OpenUrl(this->url("/endless")));
        ADD_FAILURE() << "no TransferError raised";
    } catch (const TransferError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("longer than 32767 bytes"), std::string::npos) << message;
    }
    EXPECT_FALSE(this->transfer_->StillExecuting());

    // The server stops once the client has gone; what it got out is bounded by the buffers.
    EXPECT_TRUE(this->server_.waitEndlessEnded(60s));
    EXPECT_LT(this->server_.endlessBytesSent(), kEndlessBoundBytes);
}

TYPED_TEST(NetworkTransferContract, DownloadSucceedsWhileTheHookHoldsPastTheTimeout) {
    // A message box opened from the keep-alive hook (End Program pressed during a download)
    // runs its own loop there: it holds the calling thread until the server has answered
    // (at once, as soon as the box is open) and the time-out is long past. The download
    // itself must not notice.
    constexpr auto kTimeout = 500ms;
    const auto transfer = TypeParam::make({.timeout = kTimeout});
    const auto start = Clock::now();
    int hookCalls = 0;
    bool heldPastTheTimeout = false;
    transfer->setKeepAlive([&] {
        if (++hookCalls > 1) return;
        this->held_.open();
        heldPastTheTimeout =
            waitUntil([&] { return this->heldAnswered_ > 0 && Clock::now() > start + 3 * kTimeout; }, 20s);
    });
    EXPECT_EQ(ansiFromBytes(transfer->OpenUrl(this->url("/held"))), kHeldBody);
    EXPECT_TRUE(heldPastTheTimeout);
    EXPECT_FALSE(transfer->StillExecuting());
}

TYPED_TEST(NetworkTransferContract, TimeIsUpForTheFetchItselfWhenTheServerStaysSilent) {
    // The same short time-out ends a fetch the server never answers, hook or no hook.
    const auto transfer = TypeParam::make({.timeout = 300ms});
    try {
        static_cast<void>(transfer->OpenUrl(this->url("/silent")));
        ADD_FAILURE() << "no TransferError raised";
    } catch (const TransferError& error) {
        EXPECT_NE(std::string(error.what()).find("time-out"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("within 300 ms"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(transfer->StillExecuting());
}

struct TimeoutCase {
    std::string name;
    std::optional<std::int32_t> setSeconds;
    std::int32_t expectedSeconds;
};

TYPED_TEST(NetworkTransferContract, KeepsTheRequestTimeoutOfAtLeastOneSecond) {
    const std::vector<TimeoutCase> cases = {
        {"DefaultThirtySeconds", std::nullopt, 30},
        {"FiveSecondsKept", 5, 5},
        {"OneHourKept", 3600, 3600},
        {"ZeroTakenAsOne", 0, 1},
        {"NegativeTakenAsOne", -7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto transfer = TypeParam::make();
        if (c.setSeconds) transfer->setRequestTimeout(*c.setSeconds);
        EXPECT_EQ(transfer->requestTimeout(), c.expectedSeconds);
        EXPECT_FALSE(transfer->StillExecuting());
    }
}

}  // namespace
}  // namespace stratocue::web
