#include "metar/report_tokens.h"

#include "common/fault.h"

namespace stratocue::metar {
namespace {

[[noreturn]] void subscriptFault() { throw RuntimeFault(RuntimeFault::Kind::Subscript, "Subscript out of range"); }

}  // namespace

ReportTokens ReportTokens::split(std::string_view reportText) {
    ReportTokens tokens;
    std::size_t tokenStart = 0;
    while (true) {
        const std::size_t blank = reportText.find(' ', tokenStart);
        const std::size_t slot = static_cast<std::size_t>(tokens.count_) + 1;
        if (slot >= kSlotCount) subscriptFault();
        tokens.slots_[slot] =
            reportText.substr(tokenStart, blank == std::string_view::npos ? blank : blank - tokenStart);
        tokens.count_ = static_cast<int>(slot);
        if (blank == std::string_view::npos) break;
        tokenStart = blank + 1;
    }
    return tokens;
}

std::string_view ReportTokens::at(int slot) const {
    if (slot < 0 || slot >= static_cast<int>(kSlotCount)) subscriptFault();
    return slots_[static_cast<std::size_t>(slot)];
}

}  // namespace stratocue::metar
