#pragma once

#include <filesystem>
#include <string_view>

namespace stratocue::test_support {

// An empty folder of one test's own: made under the system's temporary folder with a name
// from the running test and random letters, so tests running side by side never share
// one; removed with everything in it when the object goes. The name stays short enough
// for a Unix-domain socket inside it. Throws std::runtime_error when no folder can be made.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder.
    [[nodiscard]] std::filesystem::path file(std::string_view name) const { return path_ / name; }
    // Writes `bytes` to the file `name` inside the folder, as they are; gives its path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

}  // namespace stratocue::test_support
