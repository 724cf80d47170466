#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace stratocue::standins {

// A client's request block, mapped by its mapping name for the time of one request.
class SharedBlock {
public:
    // Opens and maps the client's shared memory; bytes() is empty when that fails or the
    // object is smaller than a request block.
    explicit SharedBlock(std::string_view mappingName);
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;
    ~SharedBlock();

    [[nodiscard]] std::span<std::byte> bytes() const { return bytes_; }

private:
    std::span<std::byte> bytes_;
};

}  // namespace stratocue::standins
