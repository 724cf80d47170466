#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::ui {

// A failed transfer: no connection, an HTTP error status, a time-out, an empty body, or a
// fetch asked for while another one is running.
class TransferError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The main window's HTTP transfer component (Inet1): fetches a URL synchronously as bytes.
class HttpTransfer {
public:
    virtual ~HttpTransfer() = default;

    static constexpr std::int32_t kDefaultTimeoutSeconds = 30;

    // Fetches the URL and returns the whole response body. Blocks until the body has
    // arrived, calling the keep-alive hook meanwhile so the windows stay responsive.
    // Raises TransferError on every failure, and when another fetch is still running.
    virtual std::vector<std::byte> OpenUrl(std::string_view url) = 0;
    // Request time-out in seconds for the whole transfer.
    virtual void setRequestTimeout(std::int32_t seconds) = 0;
    [[nodiscard]] virtual std::int32_t requestTimeout() const = 0;
    // True while a fetch is under way.
    [[nodiscard]] virtual bool StillExecuting() const = 0;
    // Called again and again while a fetch waits; the Qt program pumps its events here.
    virtual void setKeepAlive(std::function<void()> hook) = 0;
};

// The libcurl implementation (HTTP and HTTPS).
[[nodiscard]] std::unique_ptr<HttpTransfer> makeCurlTransfer();

// Turns a response body into the page text, one character per byte. A body that is empty
// or longer than 32,767 bytes is a fault of the caller (RuntimeFault).
[[nodiscard]] std::string pageTextFromBody(std::span<const std::byte> body);

}  // namespace stratocue::ui
