#pragma once

#include <QWidget>
#include <functional>

#include "ui/frm_main.h"

namespace stratocue::ui::qt {

// The main window on screen: mirrors frmMain. Closing it with the close box asks the
// program, which decides whether the window goes.
class MainWindowView final : public QWidget {
public:
    MainWindowView(FrmMain& model, std::function<void()> closeRequested);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> closeRequested_;
    bool closingFromModel_ = false;
    friend class ViewManager;
};

}  // namespace stratocue::ui::qt
