#include "ui/qt/qt_message_boxes.h"

#include <QMessageBox>
#include <string>

#include "ui/qt/bindings.h"

namespace stratocue::ui::qt {

void QtMessageBoxes::showModal(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(std::string(kMessageBoxTitle)), toQString(std::string(text)),
                    QMessageBox::Ok);
    openBoxes_.emplace_back(&box);
    box.exec();
    openBoxes_.pop_back();
}

void QtMessageBoxes::closeOpenBoxes() {
    for (const QPointer<QMessageBox>& box : openBoxes_) {
        if (box) box->done(QMessageBox::Ok);
    }
}

}  // namespace stratocue::ui::qt
