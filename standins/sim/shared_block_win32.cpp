// The client's request block on Windows: the named file mapping the client created.
#include <windows.h>

#include <string>

#include "simlink/link.h"
#include "standins/sim/shared_block.h"

namespace stratocue::standins {

SharedBlock::SharedBlock(std::string_view mappingName) {
    const std::string name(mappingName);
    const HANDLE mapping = ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
    if (mapping == nullptr) {
        return;
    }
    void* const base = ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
    ::CloseHandle(mapping);  // the view keeps the mapping alive
    if (base == nullptr) {
        return;
    }
    // A mapping smaller than a request block would fault past its end; refuse it.
    MEMORY_BASIC_INFORMATION region{};
    if (::VirtualQuery(base, &region, sizeof(region)) == 0 || region.RegionSize < simlink::kBlockBytes) {
        ::UnmapViewOfFile(base);
        return;
    }
    bytes_ = std::span<std::byte>(static_cast<std::byte*>(base), simlink::kBlockBytes);
}

SharedBlock::~SharedBlock() {
    if (!bytes_.empty()) {
        ::UnmapViewOfFile(bytes_.data());
    }
}

}  // namespace stratocue::standins
