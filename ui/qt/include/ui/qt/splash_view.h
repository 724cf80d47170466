#pragma once

#include "ui/frm_splash.h"
#include "ui/qt/model_window.h"

namespace stratocue::ui::qt {

// The splash window: no caption, the highlight colour, our picture and the standby line.
// A key press or a click on it dismisses it through the model.
class SplashView final : public ModelWindow {
public:
    explicit SplashView(FrmSplash& model);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    FrmSplash& model_;
};

// The splash picture: drawn by the program itself, a sun behind a cloud over a runway.
[[nodiscard]] QPixmap splashPicture(int widthPixels, int heightPixels);

}  // namespace stratocue::ui::qt
