#include "entry/headless.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "common/ansi_text.h"

namespace stratocue::entry {
using ui::ControlValue;
using ui::FormSlot;
namespace {

template <class Form>
nlohmann::json describeWindow(FormSlot<Form>& slot) {
    nlohmann::json window = nlohmann::json::object();
    window["exists"] = slot.exists();
    window["visible"] = slot.exists() && slot.get().visible.value();
    if (!slot.exists()) return window;
    const Form& form = slot.get();
    window["caption"] = utf8FromAnsi(form.caption.value());
    form.visitControls([&window](const ControlValue& control) {
        const std::string name(control.name);
        if (control.isNumber) {
            window[name] = std::stoi(control.text);
        } else {
            window[name] = utf8FromAnsi(control.text);
        }
    });
    return window;
}

}  // namespace

void StderrMessageBoxes::showModal(std::string_view text) { std::cerr << "MessageBox: " << text << std::endl; }

std::string tickSnapshotLine(app::Program& program) {
    nlohmann::json line = nlohmann::json::object();
    line["tick"] = program.tickCount();
    line["frmMain"] = describeWindow(program.frmMain);
    line["frmStatus"] = describeWindow(program.frmStatus);
    return line.dump();
}

}  // namespace stratocue::entry
