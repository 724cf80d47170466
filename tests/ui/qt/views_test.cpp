// The views contract on Qt, with the user's input sent through QTest.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

#include "tests/ui/views_contract.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/splash_view.h"
#include "ui/qt/status_window_view.h"

namespace stratocue::ui::qt {
namespace {

struct QtViews {
    using Main = MainWindowView;
    using Status = StatusWindowView;
    using Splash = SplashView;
    static constexpr const char* kLineEnd = "\n";

    static QWidget& child(QWidget& view, const char* name) {
        auto* widget = view.findChild<QWidget*>(QString::fromLatin1(name));
        if (widget == nullptr) throw std::runtime_error(std::string("no widget ") + name);
        return *widget;
    }
    template <class Widget>
    static Widget& child(QWidget& view, const char* name) {
        auto* widget = qobject_cast<Widget*>(&child(view, name));
        if (widget == nullptr) throw std::runtime_error(std::string("another kind of widget: ") + name);
        return *widget;
    }

    static void show(QWidget& view) { view.show(); }
    static std::string text(QWidget& view, const char* name) {
        QWidget& widget = child(view, name);
        if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text().toStdString();
        if (auto* line = qobject_cast<QLineEdit*>(&widget)) return line->text().toStdString();
        if (auto* area = qobject_cast<QPlainTextEdit*>(&widget)) return area->toPlainText().toStdString();
        if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text().toStdString();
        throw std::runtime_error(std::string("no text in ") + name);
    }
    static bool isChecked(QWidget& view, const char* name) { return child<QCheckBox>(view, name).isChecked(); }
    static void typeOver(QWidget& view, const char* name, const char* typed) {
        auto& line = child<QLineEdit>(view, name);
        line.selectAll();
        QTest::keyClicks(&line, typed);
    }
    // In the middle: a check box without a caption of its own is all indicator there.
    static void click(QWidget& view, const char* name) {
        QWidget& widget = child(view, name);
        QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(widget.width() / 2, widget.height() / 2));
    }
    static void pressCloseBox(QWidget& view) { view.close(); }
    static bool isShown(QWidget& view) { return view.isVisible(); }
    static std::string title(QWidget& view) { return view.windowTitle().toStdString(); }
    static std::pair<int, int> clientSize(QWidget& view) { return {view.width(), view.height()}; }
    static void pressSpace(QWidget& view) { QTest::keyClick(&view, Qt::Key_Space); }
    static void clickInside(QWidget& view) { QTest::mouseClick(&view, Qt::LeftButton); }
    static bool isBold(QWidget& view, const char* name) { return child(view, name).font().bold(); }
    static std::string fontFamily(QWidget& view, const char* name) {
        return child(view, name).font().family().toStdString();
    }
    static bool hasTitleBar(QWidget& view) {
        return !view.windowFlags().testFlag(Qt::FramelessWindowHint) &&
               view.windowFlags().testFlag(Qt::WindowTitleHint);
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(QtViews, ViewsContract, QtViews);

TEST(QtStatusWindow, EveryValueShowsItsLongestTextWhole) {
    FrmStatus model;
    StatusWindowView view(model, {});
    view.show();
    const struct {
        std::span<const std::string_view> texts;
        Label FrmStatus::*FrmStatus::Row::*value;
        std::string_view FrmStatus::Row::*name;
    } columns[] = {
        {FrmStatus::longestLeftValues(), &FrmStatus::Row::leftValue, &FrmStatus::Row::leftName},
        {FrmStatus::longestRightValues(), &FrmStatus::Row::rightValue, &FrmStatus::Row::rightName},
    };
    for (const auto& column : columns) {
        for (const std::string_view text : column.texts) {
            for (const FrmStatus::Row& row : FrmStatus::layout()) {
                if (row.*column.value != nullptr) (model.*(row.*column.value)).set(std::string(text));
            }
            QApplication::processEvents();
            for (const FrmStatus::Row& row : FrmStatus::layout()) {
                if (row.*column.value == nullptr) continue;
                const auto& label = QtViews::child<QLabel>(view, std::string(row.*column.name).c_str());
                EXPECT_GE(label.contentsRect().width(), label.fontMetrics().horizontalAdvance(label.text()))
                    << row.*column.name << " \"" << text << "\"";
                EXPECT_LE(label.geometry().right(), view.width()) << row.*column.name;
            }
        }
    }
}

}  // namespace
}  // namespace stratocue::ui::qt

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
