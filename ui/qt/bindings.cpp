#include "ui/qt/bindings.h"

#include <QPointer>
#include <QSignalBlocker>

namespace stratocue::ui::qt {

QString toQString(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQString(const QString& text) {
    const QByteArray latin1 = text.toLatin1();
    return std::string(latin1.constData(), static_cast<std::size_t>(latin1.size()));
}

void bindLabel(QLabel& label, Label& model) {
    label.setText(toQString(model.value()));
    model.addObserver([widget = QPointer<QLabel>(&label), &model] {
        if (widget) widget->setText(toQString(model.value()));
    });
}

void bindLineEdit(QLineEdit& edit, TextBox& model) {
    edit.setText(toQString(model.value()));
    model.addObserver([widget = QPointer<QLineEdit>(&edit), &model] {
        if (!widget) return;
        const QString shown = toQString(model.value());
        if (widget->text() != shown) widget->setText(shown);
    });
    // textEdited fires for the user's typing only, never for setText above.
    QObject::connect(&edit, &QLineEdit::textEdited, &edit,
                     [&model](const QString& text) { model.set(fromQString(text)); });
}

void bindTextArea(QPlainTextEdit& area, TextBox& model) {
    area.setPlainText(toQString(model.value()));
    model.addObserver([widget = QPointer<QPlainTextEdit>(&area), &model] {
        if (!widget) return;
        const QString shown = toQString(model.value());
        if (widget->toPlainText() == shown) return;
        const QSignalBlocker quiet(widget.data());
        widget->setPlainText(shown);
    });
    QObject::connect(&area, &QPlainTextEdit::textChanged, &area,
                     [&area, &model] { model.set(fromQString(area.toPlainText())); });
}

void bindCheckBox(QCheckBox& box, CheckBox& model) {
    box.setChecked(isChecked(model));
    model.addObserver([widget = QPointer<QCheckBox>(&box), &model] {
        if (!widget) return;
        const QSignalBlocker quiet(widget.data());
        widget->setChecked(isChecked(model));
    });
    // clicked fires for the user's clicks only.
    QObject::connect(&box, &QCheckBox::clicked, &box, [&model](bool checked) { model.set(checked ? 1 : 0); });
}

void bindButton(QPushButton& button, const Button& model) {
    button.setText(toQString(model.caption()));
    QObject::connect(&button, &QPushButton::clicked, &button, [&model] { model.click(); });
}

}  // namespace stratocue::ui::qt
