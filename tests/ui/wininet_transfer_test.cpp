// The WinINet transfer against a loopback server in the same process; runs under Wine
// in the Windows build.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "tests/ui/winsock_http_server.h"
#include "ui/http_transfer.h"

namespace stratocue::ui {
namespace {

using namespace std::chrono_literals;
using tests::Gate;
using tests::HttpAnswer;
using tests::WinsockHttpServer;

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

HttpAnswer page(int status, std::string body, std::string extraHeaders = {}) {
    return HttpAnswer{status, std::move(body), std::move(extraHeaders)};
}
const std::string kArrived = "arrived";

// A loopback port that was listening and is now closed, so connecting is refused.
int portBoundAndClosed() {
    const tests::WinsockSession winsock;
    int port = 0;
    closesocket(tests::listenOnLoopback(port));
    return port;
}

class WinInetTransferTest : public ::testing::Test {
protected:
    HttpAnswer answer(const std::string& path) {
        if (path == "/bytes") return page(200, allByteValues());
        if (path == "/longest") return page(200, patternOf(kLongestBodyBytes));
        if (path == "/large") return page(200, patternOf(1024 * 1024));
        if (path == "/empty") return page(200, "");
        if (path == "/no-content") return page(204, "");
        if (path.rfind("/status/", 0) == 0) return page(std::stoi(path.substr(8)), "error page");
        if (path == "/silent") {
            gate_.waitOpen(3s);
            return page(200, "late");
        }
        if (path == "/held") {
            gate_.waitOpen(5s);
            return page(200, kHeldBody);
        }
        if (path == "/held-fail") {
            gate_.waitOpen(5s);
            return page(503, "busy");
        }
        if (path == "/to-ftp") return page(302, "", "Location: ftp://127.0.0.1/file\r\n");
        if (path.rfind("/redirect/", 0) == 0) {
            // /redirect/N answers with a redirect to /redirect/N-1, relative; /redirect/0 arrives.
            const int left = std::stoi(path.substr(10));
            if (left == 0) return page(200, kArrived);
            return page(302, "moved", "Location: " + std::to_string(left - 1) + "\r\n");
        }
        return page(404, "not here");
    }

    void TearDown() override { gate_.open(); }

    Gate gate_;
    WinsockHttpServer server_{[this](const std::string& path) { return answer(path); }};
    std::unique_ptr<HttpTransfer> transfer_ = makeWinInetTransfer();
};

struct BodyCase {
    std::string name;
    std::string path;
    std::string expectedBody;
};

TEST_F(WinInetTransferTest, BodyComesBackByteForByte) {
    const std::vector<BodyCase> cases = {
        {"AllByteValuesWithZeroAndAbove127", "/bytes", allByteValues()},
        {"TheLongestBodyWhole", "/longest", patternOf(kLongestBodyBytes)},
        {"FiveRedirectsFollowed", "/redirect/5", kArrived},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::byte> body = transfer_->OpenUrl(server_.url(c.path));
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

TEST_F(WinInetTransferTest, FailuresRaiseTransferError) {
    const std::string refusedPort = std::to_string(portBoundAndClosed());
    const std::vector<FailureCase> cases = {
        {"NotFound404", server_.url("/status/404"), 30, "HTTP status 404"},
        {"ServerError500", server_.url("/status/500"), 30, "HTTP status 500"},
        {"EmptyBody", server_.url("/empty"), 30, "empty answer"},
        {"LongerThanABodyMayBe", server_.url("/large"), 30, "longer than 32767 bytes"},
        {"NoAnswerWithinOneSecond", server_.url("/silent"), 1, "time-out"},
        {"ConnectionRefused", "http://127.0.0.1:" + refusedPort + "/bytes", 30, "could not connect"},
        {"SixRedirects", server_.url("/redirect/6"), 30, "more than 5 redirects"},
        {"RedirectToAnotherProtocol", server_.url("/to-ftp"), 30, "invalid URL"},
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

struct ResponseCase {
    std::string name;
    std::string path;
    long expectedStatus;
    std::string expectedBody;
};

TEST_F(WinInetTransferTest, FetchResponseHandsOutEveryAnswer) {
    const std::vector<ResponseCase> cases = {
        {"Found", "/bytes", 200, allByteValues()},
        {"NotFoundWithItsPage", "/status/404", 404, "error page"},
        {"EmptyBody", "/empty", 200, ""},
        {"NoContent", "/no-content", 204, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HttpResponse response = transfer_->FetchResponse(server_.url(c.path));
        EXPECT_EQ(response.status, c.expectedStatus);
        EXPECT_EQ(ansiFromBytes(response.body), c.expectedBody);
    }
}

TEST_F(WinInetTransferTest, SendsTheProgramsUserAgent) {
    static_cast<void>(transfer_->OpenUrl(server_.url("/bytes")));
    EXPECT_EQ(server_.lastUserAgent(), kUserAgent);
}

struct ExecutingCase {
    std::string name;
    std::string path;
    bool fetchFails;
};

TEST_F(WinInetTransferTest, StillExecutingExactlyWhileAFetchRuns) {
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
            static_cast<void>(transfer_->OpenUrl(server_.url(c.path)));
        } catch (const TransferError&) {
            failed = true;
        }
        EXPECT_EQ(failed, c.fetchFails);
        ASSERT_FALSE(seenInHook.empty());
        EXPECT_EQ(seenInHook, std::vector<bool>(seenInHook.size(), true));
        EXPECT_FALSE(transfer_->StillExecuting());
    }
}

TEST_F(WinInetTransferTest, SecondFetchFromTheHookIsRefusedAndTheFirstCompletes) {
    std::optional<std::string> refusal;
    bool executingAfterRefusal = false;
    transfer_->setKeepAlive([&] {
        if (refusal) return;
        try {
            static_cast<void>(transfer_->OpenUrl(server_.url("/bytes")));
            refusal = "";
        } catch (const TransferError& error) {
            refusal = error.what();
        }
        executingAfterRefusal = transfer_->StillExecuting();
        gate_.open();
    });
    const std::vector<std::byte> body = transfer_->OpenUrl(server_.url("/held"));
    EXPECT_EQ(ansiFromBytes(body), kHeldBody);
    EXPECT_EQ(refusal, "a transfer is still executing");
    EXPECT_TRUE(executingAfterRefusal);

    transfer_->setKeepAlive({});
    EXPECT_EQ(ansiFromBytes(transfer_->OpenUrl(server_.url("/bytes"))), allByteValues());
}

TEST_F(WinInetTransferTest, KeepAliveHookRunsWhileTheAnswerIsAwaited) {
    int hookCalls = 0;
    // The server answers only once the hook has run, so a hook that never runs fails here.
    transfer_->setKeepAlive([&] {
        ++hookCalls;
        gate_.open();
    });
    EXPECT_EQ(ansiFromBytes(transfer_->OpenUrl(server_.url("/held"))), kHeldBody);
    EXPECT_GE(hookCalls, 1);
}

TEST_F(WinInetTransferTest, CancelFromTheHookEndsTheFetchAndTheNextOneWorks) {
    transfer_->Cancel();  // nothing runs: no effect on the next fetch
    transfer_->setKeepAlive([&] { transfer_->Cancel(); });
    try {
        static_cast<void>(transfer_->OpenUrl(server_.url("/held")));
        ADD_FAILURE() << "no TransferError raised";
    } catch (const TransferError& error) {
        EXPECT_NE(std::string(error.what()).find("cancelled"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(transfer_->StillExecuting());
    gate_.open();
    transfer_->setKeepAlive({});
    EXPECT_EQ(ansiFromBytes(transfer_->OpenUrl(server_.url("/bytes"))), allByteValues());
}

struct TimeoutCase {
    std::string name;
    std::optional<std::int32_t> setSeconds;
    std::int32_t expectedSeconds;
};

TEST(WinInetTransferTimeout, KeepsTheRequestTimeoutOfAtLeastOneSecond) {
    const std::vector<TimeoutCase> cases = {
        {"DefaultThirtySeconds", std::nullopt, 30},
        {"FiveSecondsKept", 5, 5},
        {"OneHourKept", 3600, 3600},
        {"ZeroTakenAsOne", 0, 1},
        {"NegativeTakenAsOne", -7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto transfer = makeWinInetTransfer();
        if (c.setSeconds) transfer->setRequestTimeout(*c.setSeconds);
        EXPECT_EQ(transfer->requestTimeout(), c.expectedSeconds);
        EXPECT_FALSE(transfer->StillExecuting());
    }
}

}  // namespace
}  // namespace stratocue::ui
