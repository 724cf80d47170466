#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace stratocue::metar {

// The report cut at each blank into tokens, token k in slot k (slot 0 stays empty).
// The tokens view the report text, which must outlive the table.
class ReportTokens {
public:
    static constexpr std::size_t kSlotCount = 51;  // slots 0 to 50

    // Cuts `reportText` at every " " (two blanks in a row give an empty token, line breaks
    // stay inside tokens); a 51st token is a subscript fault.
    [[nodiscard]] static ReportTokens split(std::string_view reportText);

    // The token in `slot`; a slot past the last token reads as empty text, a slot outside
    // 0..50 is a subscript fault.
    [[nodiscard]] std::string_view at(int slot) const;

    // The number of tokens the report held.
    [[nodiscard]] int count() const noexcept { return count_; }

private:
    std::array<std::string_view, kSlotCount> slots_{};
    int count_ = 0;
};

}  // namespace stratocue::metar
