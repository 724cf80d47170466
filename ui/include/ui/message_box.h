#pragma once

#include <string_view>

namespace stratocue::ui {

constexpr std::string_view kMessageBoxTitle = "Stratocue";

// Modal message boxes with a single OK button: show() returns when the user has closed it.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(std::string_view text) = 0;
};

}  // namespace stratocue::ui
