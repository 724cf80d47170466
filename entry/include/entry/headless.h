#pragma once

#include <iosfwd>
#include <string>

#include "app/program.h"
#include "ui/message_box.h"

namespace stratocue::entry {

// Message boxes of a program without a display: each is written to standard error as
// "MessageBox: <text>" and answered OK at once.
class StderrMessageBoxes final : public ui::MessageBoxes {
protected:
    void showModal(std::string_view text) override;
};

// One JSON line with every control of the main and status windows by name, the tick
// number, and for each window whether it exists and is visible. Windows that do not exist
// are reported without their controls and are not created for it.
[[nodiscard]] std::string tickSnapshotLine(app::Program& program);

}  // namespace stratocue::entry
