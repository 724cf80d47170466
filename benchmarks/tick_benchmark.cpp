// What one tick of the main cycle costs against a real link, next to its floor.
//
// Tick: the program's own tick (fourteen reads, each one Link_Read + Link_Process through
// the posix link to the stand-in simulator's server on another thread, the nearest-station
// search over the shipped 5000 stations and the refresh schedules). The downloads are left
// out: the transfer component fails at once, as with no network, so a refresh costs only
// its bookkeeping.
// Floor: fourteen bare round trips on the same socket (connect, one request frame naming
// the link's block, the 4-byte reply) plus one plain scan of the station table for the
// nearest station.

#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program.h"
#include "program_doubles.h"
#include "simlink/link.h"
#include "simlink/posix_platform.h"
#include "simlink/posix_wire.h"
#include "simulator_thread.h"
#include "stations/station_distance.h"

namespace {

using namespace stratocue;

constexpr int kReadsPerTick = 14;
// Where the simulator thread holds the aircraft, in radians.
constexpr double kAircraftLatitude = 0.656535;
constexpr double kAircraftLongitude = -2.135702;

using benchmarks::NoNetworkTransfer;
using benchmarks::SilentMessageBoxes;

// The program started against the simulator thread, with the shipped station files.
struct RunningProgram {
    benchmarks::TemporaryFolder socketFolder;
    benchmarks::SimulatorThread simulator{socketFolder.path()};
    simlink::PosixIpcPlatform platform{socketFolder.path().string()};
    NoNetworkTransfer transfer;
    SilentMessageBoxes messageBoxes;
    app::Program program{{platform, transfer, messageBoxes, STRATOCUE_DATA_DIR}};

    RunningProgram() {
        program.Main();
        if (!program.link.isOpen() || program.stations.StationCount == 0) {
            throw std::runtime_error("the program did not start against the simulator thread");
        }
        tick();  // the first tick fetches and applies; the ones measured are the steady ones
    }

    void tick() { program.frmMain().Timer1.fire(); }
};

// One program for every benchmark of the run, started on first use.
RunningProgram& runningProgram() {
    static RunningProgram running;
    return running;
}

// Bare exchanges on the simulator's socket, each one as the posix link makes it: connect,
// send the frame naming the link's block, read the reply, close.
class BareExchange {
public:
    explicit BareExchange(RunningProgram& running) {
        const simlink::LinkState& link = running.program.link.state();
        frame_ = simlink::encodeIpcRequestFrame({link.ipcMessage, static_cast<std::uint64_t>(link.atom), 0,
                                                 simlink::mappingName(running.platform.currentProcessId())});
        address_.sun_family = AF_UNIX;
        const std::string socketPath = running.simulator.socketPath().string();
        socketPath.copy(address_.sun_path, sizeof(address_.sun_path) - 1);
    }

    [[nodiscard]] std::uint32_t roundTrip() const {
        const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (connection < 0) throw std::runtime_error("no socket for a bare round trip");
        const bool sent =
            ::connect(connection, reinterpret_cast<const sockaddr*>(&address_), sizeof(address_)) == 0 &&
            ::send(connection, frame_.data(), frame_.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(frame_.size());
        std::array<std::byte, simlink::kIpcReplyBytes> reply{};
        std::size_t received = 0;
        while (sent && received < reply.size()) {
            const ssize_t count = ::recv(connection, reply.data() + received, reply.size() - received, 0);
            if (count <= 0) break;
            received += static_cast<std::size_t>(count);
        }
        ::close(connection);
        if (received != reply.size()) throw std::runtime_error("a bare round trip got no reply");
        return simlink::decodeIpcReply(reply);
    }

private:
    sockaddr_un address_{};
    std::vector<std::byte> frame_;
};

// The nearest station by a plain pass over the table.
std::int32_t nearestStation(const stations::StationTables& tables, double latitude, double longitude) {
    std::int32_t nearest = 0;
    double best = std::numeric_limits<double>::max();
    for (std::int32_t i = 1; i <= tables.StationCount; ++i) {
        const stations::Station& station = tables.StationList[static_cast<std::size_t>(i)];
        const double distance = stations::stationDistance(latitude, longitude, station.latitude, station.longitude);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

void Tick(benchmark::State& state) {
    RunningProgram& running = runningProgram();
    const int ticksBefore = running.program.tickCount();
    for (auto _ : state) running.tick();
    if (running.program.tickCount() - ticksBefore != static_cast<int>(state.iterations())) {
        state.SkipWithError("a tick did not run");
    }
    const std::string latitude = running.program.frmStatus().lblFSlat.value();
    if (latitude.starts_with("Reading") || latitude.starts_with("Processing")) state.SkipWithError("a read failed");
}
BENCHMARK(Tick)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void TickFloor(benchmark::State& state) {
    RunningProgram& running = runningProgram();
    const BareExchange exchange(running);
    const stations::StationTables& tables = running.program.stations;
    for (auto _ : state) {
        for (int read = 0; read < kReadsPerTick; ++read) benchmark::DoNotOptimize(exchange.roundTrip());
        benchmark::DoNotOptimize(nearestStation(tables, kAircraftLatitude, kAircraftLongitude));
    }
}
BENCHMARK(TickFloor)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// The two halves of the floor on their own, to see where a tick's time goes.
void BareRoundTrip(benchmark::State& state) {
    const BareExchange exchange(runningProgram());
    for (auto _ : state) benchmark::DoNotOptimize(exchange.roundTrip());
}
BENCHMARK(BareRoundTrip)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void LinkReadAndProcess(benchmark::State& state) {
    RunningProgram& running = runningProgram();
    std::array<std::byte, 4> latitude{};
    for (auto _ : state) {
        std::int32_t code = 0;
        if (!running.program.link.Link_Read(0x0564, 4, latitude, code) || !running.program.link.Link_Process(code)) {
            state.SkipWithError("a link read failed");
            break;
        }
    }
}
BENCHMARK(LinkReadAndProcess)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void PlainStationScan(benchmark::State& state) {
    const stations::StationTables& tables = runningProgram().program.stations;
    for (auto _ : state) benchmark::DoNotOptimize(nearestStation(tables, kAircraftLatitude, kAircraftLongitude));
    state.SetItemsProcessed(state.iterations() * tables.StationCount);
}
BENCHMARK(PlainStationScan)->Unit(benchmark::kMicrosecond);

}  // namespace
