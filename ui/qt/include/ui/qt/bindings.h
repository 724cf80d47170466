#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/control.h"

namespace stratocue::ui::qt {

// Two-way bindings between a widget and its model control. The model is the truth: the
// widget shows the model's value at once and on every change; what the user does goes
// into the model, which raises the control's event.
void bindLabel(QLabel& label, Label& model);
void bindLineEdit(QLineEdit& edit, TextBox& model);
void bindTextArea(QPlainTextEdit& area, TextBox& model);
void bindCheckBox(QCheckBox& box, CheckBox& model);
void bindButton(QPushButton& button, const Button& model);

// The program's one-byte-per-character text shown in Qt, and back.
[[nodiscard]] QString toQString(const std::string& text);
[[nodiscard]] std::string fromQString(const QString& text);

// 15 twips to the pixel at 96 dots per inch.
[[nodiscard]] constexpr int pixelsFromTwips(int twips) { return twips / 15; }

}  // namespace stratocue::ui::qt
