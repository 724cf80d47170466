#include "web/server_addresses.h"

#include <fstream>
#include <sstream>

namespace stratocue {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::string> ServerAddresses::named(std::string_view key) const {
    const auto found = named_.find(key);
    if (found == named_.end()) return std::nullopt;
    return found->second;
}

void ServerAddresses::name(std::string_view key, std::string address) {
    named_.insert_or_assign(std::string(key), std::move(address));
}

ServerAddresses parseServerAddresses(std::string_view text) {
    ServerAddresses addresses;
    std::size_t lineStart = 0;
    while (lineStart <= text.size()) {
        const auto lineEnd = text.find('\n', lineStart);
        const std::string_view line = trimmed(
            text.substr(lineStart, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - lineStart));
        lineStart = lineEnd == std::string_view::npos ? text.size() + 1 : lineEnd + 1;
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        std::string_view value = trimmed(line.substr(equals + 1));
        while (!value.empty() && value.back() == '/') value.remove_suffix(1);
        if (value.empty()) continue;
        addresses.name(key, std::string(value));
    }
    return addresses;
}

ServerAddresses loadServerAddresses(const std::filesystem::path& folder) {
    std::ifstream file(folder / kServerAddressesFileName, std::ios::binary);
    if (!file) return {};
    std::ostringstream content;
    content << file.rdbuf();
    return parseServerAddresses(content.str());
}

}  // namespace stratocue
