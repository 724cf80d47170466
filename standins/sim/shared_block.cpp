#include "standins/sim/shared_block.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "simlink/link.h"
#include "simlink/posix_wire.h"

namespace stratocue::standins {

SharedBlock::SharedBlock(std::string_view mappingName) {
    const std::optional<std::string> name = simlink::ipcSharedMemoryName(mappingName);
    if (!name) {
        return;
    }
    const int fd = ::shm_open(name->c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && status.st_size >= static_cast<off_t>(simlink::kBlockBytes)) {
        void* base = ::mmap(nullptr, simlink::kBlockBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (base != MAP_FAILED) {
            bytes_ = std::span<std::byte>(static_cast<std::byte*>(base), simlink::kBlockBytes);
        }
    }
    ::close(fd);  // the mapping stays valid without the descriptor
}

SharedBlock::~SharedBlock() {
    if (!bytes_.empty()) {
        ::munmap(bytes_.data(), bytes_.size());
    }
}

}  // namespace stratocue::standins
