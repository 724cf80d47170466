#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace stratocue::test_support {
namespace {

constexpr std::size_t kLongestTestNamePart = 20;  // keeps socket paths inside the folder short
constexpr int kAttempts = 100;

// Letters and digits of the running test's name, at most kLongestTestNamePart of them.
std::string testNamePart() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string part;
    if (test == nullptr) return "outside-a-test";
    for (const char c : std::string(test->name())) {
        if (part.size() == kLongestTestNamePart) break;
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) part += c;
    }
    return part;
}

std::string randomLetters() {
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string letters;
    for (int i = 0; i < 8; ++i) letters += kLetters[pick(device)];
    return letters;
}

}  // namespace

TempFolder::TempFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    const std::string stem = "stratocue-" + testNamePart() + "-";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::filesystem::path candidate = base / (stem + randomLetters());
        std::error_code error;
        // create_directory is false for a folder that exists already: another test's.
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
        if (error) throw std::runtime_error("cannot make a folder in " + base.string() + ": " + error.message());
    }
    throw std::runtime_error("no free folder name in " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::write(std::string_view name, std::string_view bytes) const {
    const std::filesystem::path path = file(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path;
}

}  // namespace stratocue::test_support
