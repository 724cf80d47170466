// FetchResponse hands out every answer with its status, an empty body included; OpenUrl
// keeps refusing error statuses and empty bodies.

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/ansi_text.h"
#include "ui/http_transfer.h"

namespace stratocue::ui {
namespace {

// A loopback server whose path "/status/N" answers status N, with the body "page" unless
// N is 204 or the path ends in "/empty".
class StatusServer {
public:
    StatusServer() {
        server_.Get(R"(/status/(\d+)(/empty)?)", [](const httplib::Request& request, httplib::Response& response) {
            response.status = std::stoi(request.matches[1].str());
            if (response.status != 204 && !request.matches[2].matched) response.set_content("page", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        listener_ = std::thread([this] {
            server_.listen_after_bind();
            ended_ = true;
        });
        while (!server_.is_running() && !ended_) std::this_thread::yield();
    }
    StatusServer(const StatusServer&) = delete;
    StatusServer& operator=(const StatusServer&) = delete;
    ~StatusServer() {
        server_.stop();
        if (listener_.joinable()) listener_.join();
    }
    [[nodiscard]] std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    httplib::Server server_;
    std::thread listener_;
    std::atomic<bool> ended_ = false;
    int port_ = 0;
};

struct ResponseCase {
    const char* name;
    std::string path;
    long status;
    std::string body;
    bool openUrlAccepts;
};

TEST(CurlFetchResponse, EveryStatusAndEmptyBodyComeBack) {
    const StatusServer server;
    const std::unique_ptr<HttpTransfer> transfer = makeCurlTransfer();
    const std::vector<ResponseCase> cases{
        {"Ok", "/status/200", 200, "page", true},          {"OkEmpty", "/status/200/empty", 200, "", false},
        {"NoContent", "/status/204", 204, "", false},      {"NotFound", "/status/404", 404, "page", false},
        {"BadRequest", "/status/400", 400, "page", false}, {"ServerError", "/status/500", 500, "page", false},
    };
    for (const ResponseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const HttpResponse response = transfer->FetchResponse(server.url(c.path));
        EXPECT_EQ(response.status, c.status);
        EXPECT_EQ(ansiFromBytes(response.body), c.body);
        EXPECT_FALSE(transfer->StillExecuting());
        if (c.openUrlAccepts) {
            EXPECT_EQ(ansiFromBytes(transfer->OpenUrl(server.url(c.path))), c.body);
        } else {
            EXPECT_THROW(static_cast<void>(transfer->OpenUrl(server.url(c.path))), TransferError);
        }
    }
}

TEST(CurlFetchResponse, NoAnswerIsStillATransferError) {
    const std::unique_ptr<HttpTransfer> transfer = makeCurlTransfer();
    EXPECT_THROW(static_cast<void>(transfer->FetchResponse("ftp://127.0.0.1/file")), TransferError);
    EXPECT_THROW(static_cast<void>(transfer->FetchResponse("")), TransferError);
}

struct AcceptCase {
    const char* name;
    HttpResponse response;
    bool accepted;
};

TEST(AcceptedBody, ErrorStatusOrEmptyBodyRaise) {
    const std::vector<std::byte> page = bytesFromAnsi("page");
    const std::vector<AcceptCase> cases{
        {"Ok", {200, page}, true},          {"NoContentWithBody", {204, page}, true},
        {"Redirect", {302, page}, true},    {"LastBeforeErrors", {399, page}, true},
        {"FirstError", {400, page}, false}, {"ServerError", {503, page}, false},
        {"EmptyBody", {200, {}}, false},
    };
    for (const AcceptCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.accepted) {
            EXPECT_EQ(acceptedBody(c.response, "http://x/"), page);
        } else {
            EXPECT_THROW(static_cast<void>(acceptedBody(c.response, "http://x/")), TransferError);
        }
    }
}

// A component that knows only OpenUrl.
class OpenUrlOnly final : public HttpTransfer {
public:
    std::vector<std::byte> OpenUrl(std::string_view url) override {
        if (url == "http://fails/") throw TransferError("no answer");
        return bytesFromAnsi("body of " + std::string(url));
    }
    void Cancel() override {}
    void setRequestTimeout(std::int32_t) override {}
    [[nodiscard]] std::int32_t requestTimeout() const override { return kDefaultTimeoutSeconds; }
    [[nodiscard]] bool StillExecuting() const override { return false; }
    void setKeepAlive(std::function<void()>) override {}
};

TEST(DefaultFetchResponse, GivesOpenUrlsBodyWithStatusOk) {
    OpenUrlOnly transfer;
    const HttpResponse response = transfer.FetchResponse("http://a/");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(ansiFromBytes(response.body), "body of http://a/");
    EXPECT_THROW(static_cast<void>(transfer.FetchResponse("http://fails/")), TransferError);
}

}  // namespace
}  // namespace stratocue::ui
