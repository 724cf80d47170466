// What a tick costs while the simulator is gone: the program started against the stand-in
// simulator's server, which then ends and takes its socket with it. Each tick looks for a
// server without waiting, finds none, and goes on with the rest of its work; at the
// program's own tick of 5 s, twelve such ticks make a minute.

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

#include "app/program.h"
#include "program_doubles.h"
#include "simlink/posix_platform.h"
#include "simulator_thread.h"

namespace {

using namespace stratocue;

struct ProgramWithoutSimulator {
    benchmarks::TemporaryFolder socketFolder;
    std::unique_ptr<benchmarks::SimulatorThread> simulator =
        std::make_unique<benchmarks::SimulatorThread>(socketFolder.path());
    simlink::PosixIpcPlatform platform{socketFolder.path().string()};
    benchmarks::NoNetworkTransfer transfer;
    benchmarks::SilentMessageBoxes messageBoxes;
    app::Program program{{platform, transfer, messageBoxes, STRATOCUE_DATA_DIR}};

    ProgramWithoutSimulator() {
        program.Main();
        tick();
        simulator.reset();
        tick();  // the exchange that finds it gone
        if (program.link.exchangeFailure() == 0) throw std::runtime_error("the link did not notice the simulator go");
    }

    void tick() { program.frmMain().Timer1.fire(); }
};

void TickWhileSimulatorGone(benchmark::State& state) {
    static ProgramWithoutSimulator running;
    const int ticksBefore = running.program.tickCount();
    for (auto _ : state) running.tick();
    if (running.program.tickCount() - ticksBefore != static_cast<int>(state.iterations())) {
        state.SkipWithError("a tick did not run");
    }
    if (!running.program.frmStatus().lblFSlat.value().starts_with("Processing")) {
        state.SkipWithError("a reading did not show the failure");
    }
}
BENCHMARK(TickWhileSimulatorGone)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace
