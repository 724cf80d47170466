#include "web/web_answer.h"

#include <string>

namespace stratocue {
namespace {

constexpr long kFirstErrorStatus = 400;
constexpr long kFirstSuccessStatus = 200;
constexpr long kFirstStatusAfterSuccess = 300;

std::string statusText(long status) { return "HTTP status " + std::to_string(status); }

}  // namespace

void requireClassicPage(const WebAnswer& answer) {
    if (answer.status >= kFirstErrorStatus) throw WebAnswerError(statusText(answer.status) + " instead of the page");
    if (answer.text.empty()) throw WebAnswerError("empty page (" + statusText(answer.status) + ")");
}

void requireServiceSuccess(const WebAnswer& answer) {
    if (answer.status < kFirstSuccessStatus || answer.status >= kFirstStatusAfterSuccess) {
        throw WebAnswerError(statusText(answer.status) + " from the weather service");
    }
}

bool isEmptyAnswer(const WebAnswer& answer) noexcept {
    return answer.status == kHttpStatusNoContent || answer.text.empty();
}

}  // namespace stratocue
