#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "standins/server/fake_ipc_platform.h"
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

// A transfer component that answers from a table of pages by address (anything else
// fails like a server that cannot be reached), remembers what was asked, and whose "still
// executing" answer the test sets.
class ScriptedTransfer final : public ui::HttpTransfer {
public:
    std::vector<std::byte> OpenUrl(std::string_view url) override {
        requested.emplace_back(url);
        if (onRequest) onRequest();
        const auto page = pages.find(std::string(url));
        if (page == pages.end()) throw ui::TransferError("no such page in this test");
        std::vector<std::byte> body;
        for (const char c : page->second) body.push_back(static_cast<std::byte>(c));
        return body;
    }
    void setRequestTimeout(std::int32_t seconds) override { timeoutSeconds = seconds; }
    [[nodiscard]] std::int32_t requestTimeout() const override { return timeoutSeconds; }
    [[nodiscard]] bool StillExecuting() const override { return executing; }
    void setKeepAlive(std::function<void()>) override {}

    [[nodiscard]] int requestsContaining(std::string_view part) const {
        int count = 0;
        for (const std::string& url : requested) count += url.find(part) != std::string::npos ? 1 : 0;
        return count;
    }

    std::map<std::string, std::string> pages;
    std::function<void()> onRequest;  // runs while the page is awaited
    std::vector<std::string> requested;
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
