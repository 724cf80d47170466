#pragma once

#include <windows.h>

#include "ui/control.h"
#include "ui/win32/model_window.h"

namespace stratocue::ui::win32 {

// Two-way bindings between a child control of `window` and its model control. The model is
// the truth: the control shows the model's value at once and on every change; what the
// user does goes into the model, which raises the control's event. Texts pass as they are,
// one byte per character in the system's ANSI code page.
void bindLabel(ModelWindow& window, HWND label, Label& model);
// An EDIT control, single-line or multi-line.
void bindEdit(ModelWindow& window, HWND edit, TextBox& model);
// A BS_AUTOCHECKBOX button.
void bindCheckBox(ModelWindow& window, HWND box, CheckBox& model);
void bindButton(ModelWindow& window, HWND button, const Button& model);

}  // namespace stratocue::ui::win32
