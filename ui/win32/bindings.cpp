#include "ui/win32/bindings.h"

#include <memory>
#include <string>

namespace stratocue::ui::win32 {
namespace {

// Shows the model's text unless the control already shows it, so the caret of a user
// typing stays where it is.
void showText(HWND control, const std::string& text) {
    if (ModelWindow::controlText(control) != text) SetWindowTextA(control, text.c_str());
}

}  // namespace

void bindLabel(ModelWindow& window, HWND label, Label& model) {
    showText(label, model.value());
    model.addObserver([life = window.lifeToken(), label, &model] {
        if (!life.expired()) showText(label, model.value());
    });
}

void bindEdit(ModelWindow& window, HWND edit, TextBox& model) {
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);  // no limit below the system's own
    // Set while the program writes into the control: EN_CHANGE then comes from the program.
    const auto programWriting = std::make_shared<bool>(false);
    showText(edit, model.value());
    model.addObserver([life = window.lifeToken(), edit, programWriting, &model] {
        if (life.expired()) return;
        *programWriting = true;
        showText(edit, model.value());
        *programWriting = false;
    });
    window.onCommand(edit, [edit, programWriting, &model](WORD notification) {
        if (notification != EN_CHANGE || *programWriting) return;
        model.set(ModelWindow::controlText(edit));
    });
}

void bindCheckBox(ModelWindow& window, HWND box, CheckBox& model) {
    const auto show = [box, &model] {
        SendMessageA(box, BM_SETCHECK, isChecked(model) ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    show();
    model.addObserver([life = window.lifeToken(), show] {
        if (!life.expired()) show();
    });
    // BN_CLICKED comes from the user only; BM_SETCHECK above raises none.
    window.onCommand(box, [box, &model](WORD notification) {
        if (notification != BN_CLICKED) return;
        model.set(SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    });
}

void bindButton(ModelWindow& window, HWND button, const Button& model) {
    SetWindowTextA(button, model.caption().c_str());
    window.onCommand(button, [&model](WORD notification) {
        if (notification == BN_CLICKED) model.click();
    });
}

}  // namespace stratocue::ui::win32
