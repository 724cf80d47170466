#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "eventlog/event_log.h"
#include "eventlog/event_texts.h"
#include "tests/support/temp_folder.h"

namespace stratocue::eventlog {
namespace {

using namespace std::chrono;

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

system_clock::time_point fixedTime() { return sys_days{year{2026} / 12 / 8} + 11h; }

// "2026-12-08 11:00:00.000Z event NN" and the line end
std::string eventNumber(int number) { return "event " + std::to_string(10 + number); }
const std::string kEnd(kLineEnd);
const std::uintmax_t kLineBytes = 33 + kLineEnd.size();

TEST(FileEventLog, AppendsOneLinePerEventBesideTheStationFiles) {
    const test_support::TempFolder folder;
    folder.write("stratocue.log", "earlier run\n");
    FileEventLog log(folder.path(), fixedTime);
    log.record("start Stratocue 1.5");
    log.record("end");
    EXPECT_EQ(log.path(), folder.file("stratocue.log"));
    EXPECT_EQ(contentOf(folder.file("stratocue.log")), "earlier run\n2026-12-08 11:00:00.000Z start Stratocue 1.5" +
                                                           kEnd + "2026-12-08 11:00:00.000Z end" + kEnd);
}

TEST(FileEventLog, FullFileBecomesTheOldOneAndOnlyOneIsKept) {
    const test_support::TempFolder folder;
    FileEventLog log(folder.path(), fixedTime, 3 * kLineBytes);
    for (int number = 0; number < 3; ++number) log.record(eventNumber(number));
    EXPECT_FALSE(std::filesystem::exists(folder.file("stratocue.log.1"))) << "a file at the limit stays";

    log.record(eventNumber(3));
    EXPECT_EQ(std::filesystem::file_size(folder.file("stratocue.log.1")), 3 * kLineBytes);
    EXPECT_EQ(contentOf(folder.file("stratocue.log")), "2026-12-08 11:00:00.000Z event 13" + kEnd);

    for (int number = 4; number < 7; ++number) log.record(eventNumber(number));
    EXPECT_EQ(contentOf(folder.file("stratocue.log.1")).substr(25, 8), "event 13") << "the older file is replaced";
    EXPECT_EQ(contentOf(folder.file("stratocue.log")), "2026-12-08 11:00:00.000Z event 16" + kEnd);
}

TEST(FileEventLog, FolderThatCannotBeWrittenLosesTheLinesAndNothingElse) {
    const test_support::TempFolder folder;
    const std::filesystem::path notAFolder = folder.write("station-file", "x");
    const std::filesystem::path cases[] = {folder.file("missing"), notAFolder};
    for (const auto& path : cases) {
        FileEventLog log(path, fixedTime, kLineBytes);
        EXPECT_NO_THROW(log.record("start")) << path;
        EXPECT_NO_THROW(log.record("end")) << path;
        EXPECT_FALSE(std::filesystem::exists(path / "stratocue.log")) << path;
    }
    EXPECT_EQ(contentOf(notAFolder), "x");
}

TEST(FileEventLog, ClockThatFailsLosesTheLine) {
    const test_support::TempFolder folder;
    FileEventLog log(folder.path(), []() -> system_clock::time_point { throw std::runtime_error("no clock"); });
    EXPECT_NO_THROW(log.record("start"));
}

}  // namespace
}  // namespace stratocue::eventlog
