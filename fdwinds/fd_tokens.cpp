#include "fdwinds/fd_decoder.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue::fdwinds {

std::vector<std::string> FD_SplitTokens(std::string_view joinedText) {
    const auto tokenCount = static_cast<std::size_t>(std::count(joinedText.begin(), joinedText.end(), ' ')) + 1;
    if (tokenCount > kMaxTokens) {
        throw FdFormatError("the bulletins hold " + std::to_string(tokenCount) + " tokens, more than " +
                            std::to_string(kMaxTokens));
    }

    std::vector<std::string> tokens;
    tokens.reserve(tokenCount + 1);
    tokens.emplace_back();  // element 0 is unused: tokens count from 1
    std::size_t start = 0;
    for (;;) {
        const auto blank = joinedText.find(' ', start);
        if (blank == std::string_view::npos) break;
        tokens.emplace_back(joinedText.substr(start, blank - start));
        start = blank + 1;
    }
    tokens.emplace_back(joinedText.substr(start));
    return tokens;
}

}  // namespace stratocue::fdwinds
