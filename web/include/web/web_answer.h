#pragma once

#include <stdexcept>
#include <string>

namespace stratocue {

inline constexpr long kHttpStatusOk = 200;
inline constexpr long kHttpStatusNoContent = 204;

// A web server's answer as the weather sources read it: the HTTP status and the body as
// page text, one character per byte (empty when the body was).
struct WebAnswer {
    long status = kHttpStatusOk;
    std::string text;
};

// An answer that carries no weather and is not a "no report" either: an error status,
// or an empty page where the source's layout needs one. The workers take their error path.
class WebAnswerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The rule of the classic page layouts: an error status (400 and above) or an empty page
// is a failed fetch (WebAnswerError); any other answer is a page to cut.
void requireClassicPage(const WebAnswer& answer);

// The rule of today's services: any status outside 200..299 is a failure (WebAnswerError).
// A 404 in particular means the address does not lead to the service, not that it has
// no report: the services say "no report" with an empty answer.
void requireServiceSuccess(const WebAnswer& answer);

// True when the service says it has nothing: status 204 or an empty body.
[[nodiscard]] bool isEmptyAnswer(const WebAnswer& answer) noexcept;

}  // namespace stratocue
