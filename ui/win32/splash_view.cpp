#include "ui/win32/splash_view.h"

#include <array>
#include <string>

namespace stratocue::ui::win32 {
namespace {

constexpr const char* kClassName = "StratocueSplash";
// No caption, a fixed frame.
constexpr DWORD kFrameStyle = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
// The spacings below are pixels at 96 DPI; the window scales them to its DPI.
constexpr int kMargin = 16;
constexpr int kStandbyHeight = 40;
constexpr int kStandbyGap = 8;
constexpr int kStandbyPoints = 12;
constexpr int kCornerPixels = 16;

// GDI objects for one scope.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&&) = delete;
    GdiObject& operator=(GdiObject&&) = delete;
    ~GdiObject() {
        if (object_ != nullptr) DeleteObject(object_);
    }
    [[nodiscard]] HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

// Selects an object into a device context for one scope.
class Selection {
public:
    Selection(HDC context, HGDIOBJ object) : context_(context), previous_(SelectObject(context, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    Selection(Selection&&) = delete;
    Selection& operator=(Selection&&) = delete;
    ~Selection() { SelectObject(context_, previous_); }

private:
    HDC context_;
    HGDIOBJ previous_;
};

COLORREF blend(COLORREF from, COLORREF to, int step, int steps) {
    const auto channel = [&](int a, int b) { return a + (b - a) * step / (steps > 0 ? steps : 1); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

void fillEllipse(HDC context, double centreX, double centreY, double radiusX, double radiusY) {
    Ellipse(context, static_cast<int>(centreX - radiusX), static_cast<int>(centreY - radiusY),
            static_cast<int>(centreX + radiusX), static_cast<int>(centreY + radiusY));
}

HFONT standbyFont() {
    const HDC screen = GetDC(nullptr);
    const int height = -MulDiv(kStandbyPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
}

}  // namespace

void drawSplashPicture(HDC context, const RECT& area, const Dpi& dpi) {
    const int left = area.left;
    const int top = area.top;
    const double w = area.right - area.left;
    const double h = area.bottom - area.top;
    const auto x = [&](double fraction) { return left + fraction * w; };
    const auto y = [&](double fraction) { return top + fraction * h; };

    const int saved = SaveDC(context);
    const GdiObject rounded(CreateRoundRectRgn(area.left, area.top, area.right + 1, area.bottom + 1,
                                               dpi.fromPixelsAt96(kCornerPixels), dpi.fromPixelsAt96(kCornerPixels)));
    SelectClipRgn(context, static_cast<HRGN>(rounded.get()));

    // Sky: one band per pixel row, deep blue at the top to pale blue at the bottom
    const COLORREF deepSky = RGB(40, 90, 170);
    const COLORREF paleSky = RGB(150, 200, 240);
    const int rows = area.bottom - area.top;
    for (int row = 0; row < rows; ++row) {
        const GdiObject band(CreateSolidBrush(blend(deepSky, paleSky, row, rows - 1)));
        const RECT line{area.left, area.top + row, area.right, area.top + row + 1};
        FillRect(context, &line, static_cast<HBRUSH>(band.get()));
    }

    const Selection noPen(context, GetStockObject(NULL_PEN));
    {  // Sun
        const GdiObject sun(CreateSolidBrush(RGB(255, 214, 90)));
        const Selection brush(context, sun.get());
        fillEllipse(context, x(0.68), y(0.32), h * 0.17, h * 0.17);
    }
    {  // Cloud: overlapping circles on a flat base
        const GdiObject cloud(CreateSolidBrush(RGB(250, 250, 252)));
        const Selection brush(context, cloud.get());
        fillEllipse(context, x(0.38), y(0.46), h * 0.14, h * 0.12);
        fillEllipse(context, x(0.50), y(0.40), h * 0.17, h * 0.16);
        fillEllipse(context, x(0.62), y(0.48), h * 0.12, h * 0.10);
        RoundRect(context, static_cast<int>(x(0.30)), static_cast<int>(y(0.46)), static_cast<int>(x(0.70)),
                  static_cast<int>(y(0.57)), dpi.fromPixelsAt96(12), dpi.fromPixelsAt96(12));
    }
    {  // Runway in perspective with its dashed centre line
        const GdiObject asphalt(CreateSolidBrush(RGB(70, 70, 78)));
        const Selection brush(context, asphalt.get());
        const std::array<POINT, 4> runway{{
            {static_cast<LONG>(x(0.44)), static_cast<LONG>(y(0.66))},
            {static_cast<LONG>(x(0.56)), static_cast<LONG>(y(0.66))},
            {static_cast<LONG>(x(0.80)), area.bottom},
            {static_cast<LONG>(x(0.20)), area.bottom},
        }};
        Polygon(context, runway.data(), static_cast<int>(runway.size()));
        const GdiObject paint(CreateSolidBrush(RGB(240, 240, 240)));
        const int centre = static_cast<int>(x(0.5));
        const int dashHalfWidth = dpi.fromPixelsAt96(1);
        const int dashLength = dpi.fromPixelsAt96(5);
        const int dashPitch = dpi.fromPixelsAt96(9);
        for (int dashTop = static_cast<int>(y(0.68)); dashTop < area.bottom; dashTop += dashPitch) {
            const RECT dash{centre - dashHalfWidth, dashTop, centre + dashHalfWidth, dashTop + dashLength};
            FillRect(context, &dash, static_cast<HBRUSH>(paint.get()));
        }
    }
    RestoreDC(context, saved);
}

// Closing the splash by other means than its key or click is not offered.
SplashView::SplashView(FrmSplash& model)
    : ModelWindow(Frame{kClassName, "", kFrameStyle, WS_EX_TOOLWINDOW, FrmSplash::kClientWidthTwips,
                        FrmSplash::kClientHeightTwips, false},
                  {}),
      model_(model) {
    useFont(standbyFont(), true);
    const int standbyHeight = dpi().fromPixelsAt96(kStandbyHeight);
    standby_ = addControl(
        "STATIC", FrmSplash::kLabel2Text, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
        {0, clientHeight() - dpi().fromPixelsAt96(kMargin) - standbyHeight + dpi().fromPixelsAt96(kStandbyGap),
         clientWidth(), standbyHeight});
    nameControl("Label2", standby_);
}

bool SplashView::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(handle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_HIGHLIGHT));
            result = 1;
            return true;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC context = BeginPaint(handle(), &paint);
            const int margin = dpi().fromPixelsAt96(kMargin);
            const RECT picture{margin, margin, clientWidth() - margin,
                               clientHeight() - margin - dpi().fromPixelsAt96(kStandbyHeight + kStandbyGap)};
            drawSplashPicture(context, picture, dpi());
            EndPaint(handle(), &paint);
            result = 0;
            return true;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) != standby_) return false;
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_HIGHLIGHTTEXT));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_HIGHLIGHT));
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
            return true;
        case WM_KEYDOWN:
            model_.keyPress.click();
            result = 0;
            return true;
        case WM_LBUTTONDOWN:
            model_.Frame1.click();
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace stratocue::ui::win32
