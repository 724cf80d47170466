#pragma once

#include "ui/message_box.h"

namespace stratocue::ui::qt {

// Modal message boxes with one OK button and the program's title.
class QtMessageBoxes final : public MessageBoxes {
public:
    void show(std::string_view text) override;
};

}  // namespace stratocue::ui::qt
