#include "common/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace stratocue {
namespace {

struct DigitPattern {
    int minIntegerDigits = 0;
    int decimals = 0;
};

DigitPattern readPattern(std::string_view pattern) {
    DigitPattern result;
    const auto point = pattern.find('.');
    const std::string_view integerPart = pattern.substr(0, point);
    const std::string_view decimalPart =
        point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);
    for (const char c : integerPart) {
        if (c != '0') throw std::invalid_argument("unsupported number pattern");
        ++result.minIntegerDigits;
    }
    for (const char c : decimalPart) {
        if (c != '0') throw std::invalid_argument("unsupported number pattern");
        ++result.decimals;
    }
    return result;
}

}  // namespace

std::string formatNumber(double value, std::string_view pattern) {
    const DigitPattern digits = readPattern(pattern);
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");

    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                            std::chars_format::fixed, digits.decimals);
    if (error != std::errc{}) throw std::invalid_argument("number too long to format");
    std::string magnitude(buffer.data(), end);

    const auto point = magnitude.find('.');
    std::string integerDigits = magnitude.substr(0, point);
    const std::string decimalDigits = point == std::string::npos ? std::string{} : magnitude.substr(point + 1);
    if (integerDigits == "0") integerDigits.clear();
    while (static_cast<int>(integerDigits.size()) < digits.minIntegerDigits) integerDigits.insert(0, 1, '0');

    std::string text = integerDigits;
    if (digits.decimals > 0) text += "." + decimalDigits;

    const bool allZero = text.find_first_not_of("0.") == std::string::npos;
    if (value < 0 && !allZero) text.insert(0, 1, '-');
    return text;
}

std::string formatShortest(double value) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc{}) throw std::invalid_argument("number too long to format");
    std::string text(buffer.data(), end);
    if (!std::signbit(value) || value == 0.0) text.insert(0, 1, ' ');
    if (text == " -0") text = " 0";
    return text;
}

}  // namespace stratocue
