#include "standins/wx/wx_files.h"

#include <fstream>
#include <sstream>

#include "standins/wx/wx_data_error.h"

namespace stratocue::standins {

std::optional<std::string> readTextFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) return std::nullopt;
    return std::move(text).str();
}

void writeTextFile(const std::filesystem::path& path, std::string_view text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) throw WxDataError("cannot write " + path.string());
}

}  // namespace stratocue::standins
