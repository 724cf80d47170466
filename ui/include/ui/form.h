#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace stratocue::ui {

// One control's current content by its name, for the views, the headless program's JSON
// lines and the tests. Check boxes and timers report numbers.
struct ControlValue {
    std::string_view name;
    std::string text;
    bool isNumber = false;
};
using ControlVisitor = std::function<void(const ControlValue&)>;

// What every window has: a caption and whether it is shown.
class Form {
public:
    explicit Form(std::string designCaption) : caption(std::move(designCaption)) {}
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    Control<std::string> caption;
    Control<bool> visible{false};

    void Show() { visible.set(true); }
    void Hide() { visible.set(false); }

    // Every control of the window with its content, in design order.
    virtual void visitControls(const ControlVisitor& visit) const = 0;
};

// Design-time caption of an unchanging label, with its name.
struct StaticLabel {
    std::string_view name;
    std::string_view caption;
};

}  // namespace stratocue::ui
