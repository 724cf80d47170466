#include "ui/qt/splash_view.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "ui/qt/bindings.h"

namespace stratocue::ui::qt {

QPixmap splashPicture(int widthPixels, int heightPixels) {
    QPixmap picture(widthPixels, heightPixels);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    const double w = widthPixels;
    const double h = heightPixels;
    // Sky gradient and sun
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(40, 90, 170));
    sky.setColorAt(1.0, QColor(150, 200, 240));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(0, 0, w, h), 8, 8);
    painter.setBrush(QColor(255, 214, 90));
    painter.drawEllipse(QPointF(w * 0.68, h * 0.32), h * 0.17, h * 0.17);
    // Cloud: overlapping circles on a flat base
    painter.setBrush(QColor(250, 250, 252));
    painter.drawEllipse(QPointF(w * 0.38, h * 0.46), h * 0.14, h * 0.12);
    painter.drawEllipse(QPointF(w * 0.50, h * 0.40), h * 0.17, h * 0.16);
    painter.drawEllipse(QPointF(w * 0.62, h * 0.48), h * 0.12, h * 0.10);
    painter.drawRoundedRect(QRectF(w * 0.30, h * 0.46, w * 0.40, h * 0.11), 6, 6);
    // Runway in perspective with its centre line
    QPainterPath runway;
    runway.moveTo(w * 0.44, h * 0.66);
    runway.lineTo(w * 0.56, h * 0.66);
    runway.lineTo(w * 0.80, h);
    runway.lineTo(w * 0.20, h);
    runway.closeSubpath();
    painter.setBrush(QColor(70, 70, 78));
    painter.drawPath(runway);
    painter.setPen(QPen(QColor(240, 240, 240), 2, Qt::DashLine));
    painter.drawLine(QPointF(w * 0.5, h * 0.68), QPointF(w * 0.5, h));
    return picture;
}

// Closing the splash by other means than its key or click is not offered.
SplashView::SplashView(FrmSplash& model) : ModelWindow({}), model_(model) {
    setObjectName("frmSplash");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(pixelsFromTwips(FrmSplash::kClientWidthTwips), pixelsFromTwips(FrmSplash::kClientHeightTwips));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Highlight));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::HighlightedText));
    setPalette(colours);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(splashPicture(width() - 32, height() - 80));
    image->setAlignment(Qt::AlignCenter);
    layout->addWidget(image, 1);

    auto* standby = new QLabel(toQString(std::string(FrmSplash::kLabel2Text)), this);
    standby->setObjectName("Label2");
    QFont font("Arial", 12);
    font.setBold(true);
    standby->setFont(font);
    standby->setAlignment(Qt::AlignCenter);
    layout->addWidget(standby);
    setFocusPolicy(Qt::StrongFocus);
}

void SplashView::keyPressEvent(QKeyEvent* event) {
    event->accept();
    model_.keyPress.click();
}

void SplashView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    model_.Frame1.click();
}

}  // namespace stratocue::ui::qt
