#pragma once

#include <QWidget>
#include <functional>

namespace stratocue::ui::qt {

// A top-level view of a window model. The model decides when the window goes: the close
// box only asks (through `closeRequested`), and the view closes for real when the view
// manager takes it down after the model was destroyed.
class ModelWindow : public QWidget {
public:
    explicit ModelWindow(std::function<void()> closeRequested) : closeRequested_(std::move(closeRequested)) {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> closeRequested_;
    bool closingFromModel_ = false;
    friend class ViewManager;
};

}  // namespace stratocue::ui::qt
