#pragma once

#include <windows.h>

#include "ui/frm_splash.h"
#include "ui/win32/model_window.h"

namespace stratocue::ui::win32 {

// The splash window: no caption, the highlight colour, our picture and the standby line.
// A key press or a click on it dismisses it through the model.
class SplashView final : public ModelWindow {
public:
    explicit SplashView(FrmSplash& model);

protected:
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    FrmSplash& model_;
    HWND standby_ = nullptr;
};

// The splash picture, drawn by the program itself with GDI: a sun behind a cloud over a
// runway, on a sky fading from deep to pale blue, inside `area` of `context`, with its
// corners and runway marks sized for `dpi`.
void drawSplashPicture(HDC context, const RECT& area, const Dpi& dpi);

}  // namespace stratocue::ui::win32
