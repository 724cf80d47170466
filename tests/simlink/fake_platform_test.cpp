// The link platform contract on the in-process fake simulator the other suites rely on.
#include "standins/server/fake_ipc_platform.h"
#include "tests/simlink/ipc_platform_contract.h"

namespace stratocue::simlink {
namespace {

using standins::FakeIpcPlatform;
using standins::FakeServerWindows;

// The fake is the server as well: its faults stand for the server's states.
class FakeHarness {
public:
    FakeHarness() { fake_.faults.windows = FakeServerWindows::None; }

    IpcPlatform& platform() { return fake_; }
    [[nodiscard]] std::string serverClass() const { return std::string(kServerClass); }
    void startServer(std::uint32_t reply, bool hung) {
        fake_.faults.windows = FakeServerWindows::Both;
        if (reply != 1) fake_.faults.reply = reply;  // else the fake's own server answers
        fake_.faults.everySendFails = hung;
        fake_.faults.sendError = 0;
    }
    void removeServer() { fake_.faults.windows = FakeServerWindows::None; }
    [[nodiscard]] std::string atomNameSeen() const { return fake_.lastAtomName(); }
    [[nodiscard]] bool mappingExists(const std::string& name) const {
        return fake_.heldMappings() != 0 && fake_.lastMappingName() == name;
    }

private:
    FakeIpcPlatform fake_;
};

}  // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, IpcPlatformContract, FakeHarness);
}  // namespace contract

}  // namespace stratocue::simlink
