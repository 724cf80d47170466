#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace stratocue {

// Where a weather source's server is: the servers.txt key that names its host, and the
// address used when servers.txt does not name one (empty: the source is used only when
// servers.txt names it). Scheme, host and optional port; the source appends paths and
// queries.
struct SourceServer {
    std::string_view key;
    std::string_view defaultAddress;
};

// The addresses servers.txt names, by key. It knows no source: each source looks up its own
// key. Keys no source has are kept and never asked for.
class ServerAddresses {
public:
    // The address named for `key`; nullopt when servers.txt does not name one.
    [[nodiscard]] std::optional<std::string> named(std::string_view key) const;
    // Names `address` for `key`, over an earlier one.
    void name(std::string_view key, std::string address);

private:
    std::map<std::string, std::string, std::less<>> named_;
};

// The source servers.txt decides on among `sources` (each with its `server`), in the order
// they are listed: the first whose key servers.txt names, with that address; else the first
// with a default address, with it; nullopt when none has either.
template <typename Source>
struct ChosenSource {
    const Source* source;
    std::string address;
};
template <typename Source>
[[nodiscard]] std::optional<ChosenSource<Source>> chooseSource(const ServerAddresses& addresses,
                                                               std::span<const Source* const> sources) {
    for (const Source* source : sources) {
        if (std::optional<std::string> address = addresses.named(source->server.key)) {
            return ChosenSource<Source>{source, std::move(*address)};
        }
    }
    for (const Source* source : sources) {
        if (!source->server.defaultAddress.empty()) {
            return ChosenSource<Source>{source, std::string(source->server.defaultAddress)};
        }
    }
    return std::nullopt;
}

inline constexpr std::string_view kServerAddressesFileName = "servers.txt";

// Reads lines "key=URL". Blank lines and lines starting with "#" are skipped; lines without
// "=" and empty values are ignored; blanks around keys and values and a trailing "/" of a
// value are dropped; a later line with the same key wins.
[[nodiscard]] ServerAddresses parseServerAddresses(std::string_view text);

// The addresses from servers.txt in `folder`; none named when there is no file.
[[nodiscard]] ServerAddresses loadServerAddresses(const std::filesystem::path& folder);

}  // namespace stratocue
