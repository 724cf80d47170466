#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stratocue {

// The program's texts hold one character per byte, in the system's ANSI code page, as
// received from servers and files. These helpers move between that form and the outside.

// Every byte becomes the character with that code, zero bytes included.
[[nodiscard]] std::string ansiFromBytes(std::span<const std::byte> bytes);

// The text's characters as bytes, in order.
[[nodiscard]] std::vector<std::byte> bytesFromAnsi(std::string_view text);

// UTF-8 in which each character of the text is the Unicode character of the same number
// (byte 0x82 becomes U+0082), so that no byte is lost or changed.
[[nodiscard]] std::string utf8FromAnsi(std::string_view text);

// The reverse of utf8FromAnsi: characters above U+00FF, and malformed UTF-8, become "?".
[[nodiscard]] std::string ansiFromUtf8(std::string_view utf8);

// Upper case of the ASCII letters only, as the program compares station identifiers.
[[nodiscard]] std::string upperAscii(std::string_view text);

// Every occurrence of `from` replaced by `to`, scanning left to right without overlaps.
[[nodiscard]] std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace stratocue
