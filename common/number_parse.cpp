#include "common/number_parse.h"

#include <charconv>
#include <cmath>
#include <string>

namespace stratocue {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Cursor over the text that steps over the blanks the parse ignores.
class BlankSkippingCursor {
public:
    explicit BlankSkippingCursor(std::string_view text) : text_(text) {}

    [[nodiscard]] char peek() {
        skipBlanks();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void advance() { ++pos_; }
    [[nodiscard]] std::size_t position() const { return pos_; }
    void rewind(std::size_t pos) { pos_ = pos; }

private:
    void skipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

double parseLeadingNumber(std::string_view text) noexcept {
    BlankSkippingCursor cursor(text);
    std::string normalised;  // sign, digits, point and exponent without blanks

    if (cursor.peek() == '+' || cursor.peek() == '-') {
        if (cursor.peek() == '-') normalised += '-';
        cursor.advance();
    }
    bool sawDigit = false;
    bool sawPoint = false;
    for (;;) {
        const char c = cursor.peek();
        if (isDigit(c)) {
            normalised += c;
            sawDigit = true;
        } else if (c == '.' && !sawPoint) {
            normalised += '.';
            sawPoint = true;
        } else {
            break;
        }
        cursor.advance();
    }
    if (!sawDigit) return 0.0;

    const char marker = cursor.peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        const std::size_t beforeExponent = cursor.position();
        cursor.advance();
        std::string exponent = "e";
        if (cursor.peek() == '+' || cursor.peek() == '-') {
            exponent += cursor.peek();
            cursor.advance();
        }
        bool exponentDigits = false;
        while (isDigit(cursor.peek())) {
            exponent += cursor.peek();
            exponentDigits = true;
            cursor.advance();
        }
        if (exponentDigits) {
            normalised += exponent;
        } else {
            cursor.rewind(beforeExponent);
        }
    }

    double value = 0.0;
    const char* first = normalised.data();
    const char* last = first + normalised.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Either a huge value or one too small to represent; tell them apart by the exponent.
        const bool negative = normalised.front() == '-';
        const auto e = normalised.find('e');
        const bool tiny = e != std::string::npos && normalised.size() > e + 1 && normalised[e + 1] == '-';
        if (tiny) return negative ? -0.0 : 0.0;
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    (void)end;
    return value;
}

}  // namespace stratocue
