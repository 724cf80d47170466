#pragma once

#include <QMessageBox>
#include <QPointer>
#include <vector>

#include "ui/message_box.h"

namespace stratocue::ui::qt {

// Modal message boxes with one OK button and the program's title. QMessageBox runs its own
// event loop, in which Qt goes on delivering timer events; the base class holds the
// program's timers meanwhile.
class QtMessageBoxes final : public MessageBoxes {
public:
    // Closes every open box as if OK was pressed, so the code waiting on it goes on (the
    // program is ending on a signal).
    void closeOpenBoxes();

protected:
    void showModal(std::string_view text) override;

private:
    std::vector<QPointer<QMessageBox>> openBoxes_;
};

}  // namespace stratocue::ui::qt
