#pragma once

// What the fuzz targets share: reading the fuzzer's bytes as the program's texts, cutting
// one input into the pieces a parser takes, and ending a run on a broken promise.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace stratocue::fuzz {

// The input as text, one character per byte, as the program turns a page into text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::span<const std::byte> asBytes(const std::uint8_t* data, std::size_t size) {
    return std::as_bytes(std::span(data, size));
}

// The text up to the first line feed, and what follows it; no line feed gives an empty rest.
struct LineAndRest {
    std::string_view line;
    std::string_view rest;
};

inline LineAndRest splitFirstLine(std::string_view text) {
    const auto lineEnd = text.find('\n');
    if (lineEnd == std::string_view::npos) return {text, {}};
    return {text.substr(0, lineEnd), text.substr(lineEnd + 1)};
}

// The pieces between the separators, at most `maxPieces` of them (the last one keeps any
// further separators). A text without a separator is one piece.
inline std::vector<std::string_view> splitPieces(std::string_view text, char separator, std::size_t maxPieces) {
    std::vector<std::string_view> pieces;
    while (pieces.size() + 1 < maxPieces) {
        const auto end = text.find(separator);
        if (end == std::string_view::npos) break;
        pieces.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    pieces.push_back(text);
    return pieces;
}

// Ends the run as a finding: a parser broke one of its promises without crashing.
[[noreturn]] inline void brokenPromise(const char* what) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

inline void expect(bool holds, const char* what) {
    if (!holds) brokenPromise(what);
}

}  // namespace stratocue::fuzz
