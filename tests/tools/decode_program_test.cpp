#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tools/command_line.h"
#include "tools/decode_commands.h"

namespace stratocue::tools {
namespace {

// What the program left: its exit code and the bytes it wrote.
struct ProgramRun {
    int exitCode = -1;
    std::string standardOutput;
    std::string standardError;
};

// A fresh folder of its own for the program's input and output files.
class DecodeProgram : public testing::Test {
protected:
    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        return temp_.write(name, bytes);
    }

    std::string read(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Runs the program with shell-quoted `arguments` and `standardInput` fed from a file.
    ProgramRun run(const std::string& arguments, const std::string& standardInput) const {
        const std::filesystem::path input = write("stdin", standardInput);
        const std::string command = "'" STRATOCUE_DECODE_PATH "' " + arguments + " < '" + input.string() + "' > '" +
                                    (folder_ / "stdout").string() + "' 2> '" + (folder_ / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        ProgramRun result;
        if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        result.standardOutput = read("stdout");
        result.standardError = read("stderr");
        return result;
    }

    test_support::TempFolder temp_;
    const std::filesystem::path& folder_ = temp_.path();
};

TEST_F(DecodeProgram, WritesWhatTheCommandsGive) {
    const std::string reports = "KSFO 06\x82\xE9Z 28012KT\r\nKSFO 061756Z 28012G20KT 10SM FEW010 SCT250 17/09 A3002\n";
    const std::string brokenPage = write("broken.shtml", "FT 39000\nABC 2710\n</BODY>\n").string();
    struct Case {
        const char* name;
        std::string arguments;
        std::string standardInput;
        CommandResult expected;
    };
    const std::vector<Case> cases{
        {"MetarFromStandardInputKeepsEveryByte", "metar", reports, decodeMetarReports(reportLines(reports))},
        {"MetarFromArguments", "metar 'KSFO 061756Z 28012KT' 'EDDF 061750Z 24008MPS'", "",
         decodeMetarReports({"KSFO 061756Z 28012KT", "EDDF 061750Z 24008MPS"})},
        {"FdPageWithoutPreEnd", "fd '" + brokenPage + "'", "",
         decodeFdPages({{brokenPage, *readFileBytes(brokenPage)}}, ".")},
        {"NoArguments", "", "", runDecodeTool({}, [] { return std::string(); })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun result = run(c.arguments, c.standardInput);
        EXPECT_EQ(result.exitCode, c.expected.exitCode);
        EXPECT_EQ(result.standardOutput, c.expected.standardOutput);
        EXPECT_EQ(result.standardError, c.expected.standardError);
    }
}

}  // namespace
}  // namespace stratocue::tools
