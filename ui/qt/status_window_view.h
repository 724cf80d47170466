#pragma once

#include <QWidget>
#include <functional>

#include "ui/frm_status.h"

namespace stratocue::ui::qt {

// The status window on screen: two columns of caption and value labels, the reserved AI
// block and the "Close" button. Its close box destroys the window model.
class StatusWindowView final : public QWidget {
public:
    StatusWindowView(FrmStatus& model, std::function<void()> closeRequested);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> closeRequested_;
    bool closingFromModel_ = false;
    friend class ViewManager;
};

}  // namespace stratocue::ui::qt
