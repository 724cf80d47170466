#pragma once

#include <filesystem>

#include "app/program.h"
#include "standins/server/fake_ipc_platform.h"
#include "tests/support/recording_event_log.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/scripted_transfer.h"

namespace stratocue::app::testing {

using test_support::RecordingMessageBoxes;
using test_support::ScriptedTransfer;

// The program with a fake simulator, a scripted transfer, a log kept in memory and the
// shipped station files (or those of `folder`).
struct ProgramFixture {
    explicit ProgramFixture(std::filesystem::path folder = STRATOCUE_DATA_DIR)
        : program({simulator, transfer, messageBoxes, std::move(folder), nullptr, nullptr, std::nullopt, &eventLog}) {}

    standins::FakeIpcPlatform simulator;
    ScriptedTransfer transfer;
    RecordingMessageBoxes messageBoxes;
    test_support::RecordingEventLog eventLog;
    Program program;
};

}  // namespace stratocue::app::testing
