#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/message_box.h"

namespace stratocue::test_support {

// Message boxes answered at once, remembering their texts in order. onShow runs while the
// box is open, so a test can look at the program (or let time pass) behind it.
class RecordingMessageBoxes final : public ui::MessageBoxes {
public:
    std::vector<std::string> shown;
    std::function<void(std::string_view)> onShow;

protected:
    void showModal(std::string_view text) override {
        shown.emplace_back(text);
        if (onShow) onShow(text);
    }
};

}  // namespace stratocue::test_support
