// OpenUrl's rule for the answers FetchResponse hands out: error statuses and empty bodies
// are refused; a component that knows only OpenUrl gives its body with status 200.

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "web/http_transfer.h"

namespace stratocue::web {
namespace {

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
}  // namespace stratocue::web
