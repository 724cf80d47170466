// The texts of the result codes and the names of the simulator numbers.
#include <array>

#include "simlink/link.h"

namespace stratocue::simlink {

namespace {

constexpr std::array<std::string_view, 16> kResultTexts = {
    "Active",
    "Attempt to Open when already Open",
    "Cannot link to FSUIPC or WideClient",
    "Failed to Register common message with Windows",
    "Failed to create Atom for mapping filename",
    "Failed to create a file mapping object",
    "Failed to open a view to the file map",
    "Incorrect version of FSUIPC, or not FSUIPC",
    "Sim is not version requested",
    "Call cannot execute, link not Open",
    "Call cannot execute: no requests accumulated",
    "IPC timed out all retries",
    "IPC sendmessage failed all retries",
    "IPC request contains bad data",
    "Maybe running on WideClient, but FS not running on Server, or wrong FSUIPC",
    "Read or Write request cannot be added, memory for Process is full",
};

constexpr std::array<std::string_view, 9> kSimNames = {
    "Any", "FS98", "FS2K", "CFS2", "CFS1", "FLY", "FS2002", "FSNEXT", "FSYETANOTHER",
};

constexpr std::string_view kUnknownSimulator = "Unknown";

template <std::size_t Count>
std::array<std::string, Count> toStrings(const std::array<std::string_view, Count>& texts) {
    std::array<std::string, Count> strings;
    for (std::size_t i = 0; i < Count; ++i) {
        strings[i] = std::string(texts[i]);
    }
    return strings;
}

template <std::size_t Count>
const std::string* entry(const std::array<std::string, Count>& table, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= Count) {
        return nullptr;
    }
    return &table[static_cast<std::size_t>(index)];
}

}  // namespace

const std::string& ResultTexts(std::int32_t code) {
    static const std::array<std::string, kResultTexts.size()> texts = toStrings(kResultTexts);
    static const std::string none;
    const std::string* text = entry(texts, code);
    return text != nullptr ? *text : none;
}

const std::string& SimNames(std::int32_t simulatorNumber) {
    static const std::array<std::string, kSimNames.size()> names = toStrings(kSimNames);
    static const std::string unknown(kUnknownSimulator);
    const std::string* name = entry(names, simulatorNumber);
    return name != nullptr ? *name : unknown;
}

}  // namespace stratocue::simlink
