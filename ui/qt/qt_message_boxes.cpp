#include "ui/qt/qt_message_boxes.h"

#include <QMessageBox>
#include <string>

#include "ui/qt/bindings.h"

namespace stratocue::ui::qt {

void QtMessageBoxes::show(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(std::string(kMessageBoxTitle)), toQString(std::string(text)),
                    QMessageBox::Ok);
    box.exec();
}

}  // namespace stratocue::ui::qt
