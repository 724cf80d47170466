#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "standins/fake_ipc_platform.h"
#include "ui/http_transfer.h"
#include "ui/message_box.h"

namespace stratocue::app::testing {

// Message boxes answered at once, remembering their texts.
class RecordingMessageBoxes final : public ui::MessageBoxes {
public:
    void show(std::string_view text) override {
        shown.emplace_back(text);
        if (onShow) onShow(text);
    }
    std::vector<std::string> shown;
    std::function<void(std::string_view)> onShow;
};

// A transfer component whose "still executing" answer the test sets; fetching is not
// needed by these tests and fails.
class ScriptedTransfer final : public ui::HttpTransfer {
public:
    std::vector<std::byte> OpenUrl(std::string_view) override { throw ui::TransferError("no network in this test"); }
    void setRequestTimeout(std::int32_t seconds) override { timeoutSeconds = seconds; }
    [[nodiscard]] std::int32_t requestTimeout() const override { return timeoutSeconds; }
    [[nodiscard]] bool StillExecuting() const override { return executing; }
    void setKeepAlive(std::function<void()>) override {}

    bool executing = false;
    std::int32_t timeoutSeconds = kDefaultTimeoutSeconds;
};

// The program with a fake simulator, a scripted transfer and the shipped station files.
struct ProgramFixture {
    explicit ProgramFixture(std::filesystem::path folder = STRATOCUE_DATA_DIR)
        : program({simulator, transfer, messageBoxes, std::move(folder)}) {}

    standins::FakeIpcPlatform simulator;
    ScriptedTransfer transfer;
    RecordingMessageBoxes messageBoxes;
    Program program;
};

}  // namespace stratocue::app::testing
