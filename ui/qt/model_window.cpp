#include "ui/qt/model_window.h"

#include <QCloseEvent>

namespace stratocue::ui::qt {

void ModelWindow::closeEvent(QCloseEvent* event) {
    if (closingFromModel_) {
        event->accept();
        return;
    }
    event->ignore();
    if (closeRequested_) closeRequested_();
}

}  // namespace stratocue::ui::qt
