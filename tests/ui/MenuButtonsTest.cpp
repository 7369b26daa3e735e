#include "ui/MenuButtons.h"
#include "app/Messages.h"
#include "ui/WindowHelpers.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::ui;

namespace {

// A window with three menu buttons, a text field before them and a list after them.
class ButtonWindow : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        field = new QLineEdit(&window);
        layout->addWidget(field);
        panel = new MsgPanel(&window);
        buttons = new MenuButtons(&window, panel);
        layout->addWidget(buttons->Add(QStringLiteral("One"), QStringLiteral("Help one"), &window)
                              ->parentWidget());
        layout->addWidget(buttons->Add(QStringLiteral("Two"), QString(), &window)->parentWidget());
        layout->addWidget(
            buttons->Add(QStringLiteral("Three"), QStringLiteral("Help three"), &window)
                ->parentWidget());
        list = new QListWidget(&window);
        list->addItem(QStringLiteral("line"));
        layout->addWidget(list);
        layout->addWidget(panel);
        QObject::connect(buttons, &MenuButtons::chosen, [this](int i) { chosen.push_back(i); });
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    int CyanPanels() const {
        int n = 0;
        for (int i = 0; i < buttons->count(); ++i)
            if (buttons->panel(i)->palette().color(QPalette::Window) == Cyan)
                ++n;
        return n;
    }
    QWidget* Focused() const { return QApplication::focusWidget(); }

    QWidget window;
    QLineEdit* field = nullptr;
    MsgPanel* panel = nullptr;
    MenuButtons* buttons = nullptr;
    QListWidget* list = nullptr;
    std::vector<int> chosen;
};

TEST_F(ButtonWindow, ControlsCarryTheirArrayNames) {
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdMenuChoice(2)")),
              buttons->button(2));
    EXPECT_EQ(window.findChild<QFrame*>(QStringLiteral("sspMenuChoice(0)")), buttons->panel(0));
    EXPECT_EQ(window.findChild<MsgPanel*>(QStringLiteral("MsgPanel")), panel);
}

TEST_F(ButtonWindow, TabLeavesExactlyOneCyanPanelAndLeavingTheRowLeavesNone) {
    field->setFocus();
    EXPECT_EQ(CyanPanels(), 0);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(Focused(), Qt::Key_Tab);
        ASSERT_EQ(Focused(), buttons->button(i));
        EXPECT_EQ(CyanPanels(), 1);
        EXPECT_EQ(buttons->panel(i)->palette().color(QPalette::Window), Cyan);
        EXPECT_TRUE(buttons->button(i)->font().bold());
        EXPECT_EQ(buttons->currentChoice(), i);
    }
    QTest::keyClick(Focused(), Qt::Key_Backtab);
    EXPECT_EQ(Focused(), buttons->button(1));
    EXPECT_EQ(CyanPanels(), 1);
    EXPECT_FALSE(buttons->button(2)->font().bold());

    // Into the list: no panel stays cyan.
    buttons->button(2)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), list);
    EXPECT_EQ(CyanPanels(), 0);
}

TEST_F(ButtonWindow, HelpLineFollowsTheFocusAndAButtonWithoutOneLeavesIt) {
    buttons->button(0)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(panel->text(), QStringLiteral("Help one"));
    buttons->button(1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(panel->text(), QStringLiteral("Help one"));
    buttons->button(2)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(panel->text(), QStringLiteral("Help three"));
}

TEST_F(ButtonWindow, EnterAndSpaceActOnceOtherKeysDoNothing) {
    ScriptedMessages messages;
    buttons->button(1)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(buttons->button(1), Qt::Key_Return);
    EXPECT_EQ(chosen, std::vector<int>{1});
    QTest::keyClick(buttons->button(1), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(buttons->button(1), Qt::Key_Space);
    EXPECT_EQ(chosen, (std::vector<int>{1, 1, 1}));
    // A held Enter repeats nothing.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(buttons->button(1), &repeat);

    chosen.clear();
    for (Qt::Key k : {Qt::Key_A, Qt::Key_X, Qt::Key_5, Qt::Key_F1, Qt::Key_Delete})
        QTest::keyClick(buttons->button(1), k);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(Focused(), buttons->button(1));
    EXPECT_EQ(messages.beeps(), 0);
}

TEST_F(ButtonWindow, ArrowsMoveAlongTheRowSkippingDisabledButtons) {
    buttons->button(1)->setEnabled(false);
    buttons->button(0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Down);
    EXPECT_EQ(Focused(), buttons->button(2));
    QTest::keyClick(Focused(), Qt::Key_Down); // wraps round
    EXPECT_EQ(Focused(), buttons->button(0));
    QTest::keyClick(Focused(), Qt::Key_Up);
    EXPECT_EQ(Focused(), buttons->button(2));
    EXPECT_EQ(CyanPanels(), 1);
    EXPECT_TRUE(chosen.empty());
}

TEST_F(ButtonWindow, EscapeReachesTheDialog) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    MenuButtons row(&dialog, nullptr);
    layout->addWidget(row.Add(QStringLiteral("OK"), QString(), &dialog)->parentWidget());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    row.button(0)->setFocus();
    QTest::keyClick(row.button(0), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(WindowHelpers, TwipsAreFifteenToAPixelAtNinetySixDpi) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_EQ(Twips(1440), qRound(dpi));
    if (qFuzzyCompare(dpi, 96.0)) {
        EXPECT_EQ(Twips(15), 1);
        EXPECT_EQ(Twips(560), 37);
    }
}

TEST(WindowHelpers, CenterFormPlacesEvenAWindowLargerThanTheScreen) {
    QWidget w;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    w.resize(200, 100);
    CenterForm(&w);
    EXPECT_EQ(w.pos(),
              QPoint(area.x() + (area.width() - 200) / 2, area.y() + (area.height() - 100) / 2));
    w.resize(area.width() + 400, area.height() + 300);
    CenterForm(&w);
    EXPECT_LT(w.x(), area.x());
    EXPECT_LT(w.y(), area.y());
}

TEST(WindowHelpers, SelectActiveTextSelectsAllAndIgnoresOtherControls) {
    QWidget w;
    auto* layout = new QVBoxLayout(&w);
    auto* edit = new QLineEdit(QStringLiteral("old entry"), &w);
    auto* button = new QPushButton(QStringLiteral("B"), &w);
    layout->addWidget(edit);
    layout->addWidget(button);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    edit->setFocus();
    edit->setCursorPosition(3);
    SelectActiveText();
    EXPECT_EQ(edit->selectedText(), QStringLiteral("old entry"));
    button->setFocus();
    SelectActiveText(); // nothing to select: no harm
}

} // namespace
