// stratocue-decode: decodes METAR reports and FD bulletin pages into JSON lines.
#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/command_line.h"
#include "tools/decode_commands.h"

namespace {

// All of standard input, byte for byte.
std::string readStandardInput() { return {std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()}; }

}  // namespace

int main(int argc, char* argv[]) {
#ifdef _WIN32
    // Bytes in and out unchanged: no line-end translation.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    using stratocue::tools::CommandResult;
    CommandResult result;
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        result = stratocue::tools::runDecodeTool(arguments, readStandardInput);
    } catch (const std::exception& error) {
        result = stratocue::tools::failureResult(error.what());
    }
    std::cout << result.standardOutput << std::flush;
    std::cerr << result.standardError << std::flush;
    return result.exitCode;
}
