#include "ui/MenuButtons.h"
#include "app/Messages.h"
#include "ui/WindowHelpers.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::ui;

namespace {

// A window with three menu buttons followed by a list.
class ButtonWindow : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        panel = new MsgPanel(&window);
        buttons = new MenuButtons(&window, panel);
        for (const char* help : {"Help one", "", "Help three"})
            layout->addWidget(buttons
                                  ->Add(QStringLiteral("Button"),
                                        *help ? QString::fromLatin1(help) : QString(), &window)
                                  ->parentWidget());
        list = new QListWidget(&window);
        layout->addWidget(list);
        QObject::connect(buttons, &MenuButtons::chosen, [this](int i) { chosen.push_back(i); });
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    int CyanPanels() const {
        int n = 0;
        for (int i = 0; i < buttons->count(); ++i)
            n += buttons->panel(i)->palette().color(QPalette::Window) == Cyan;
        return n;
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }

    QWidget window;
    MsgPanel* panel = nullptr;
    MenuButtons* buttons = nullptr;
    QListWidget* list = nullptr;
    std::vector<int> chosen;
};

TEST_F(ButtonWindow, KeyboardRulesOfTheRow) {
    buttons->button(0)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(panel->text(), "Help one");
    QTest::keyClick(Focused(), Qt::Key_Tab);
    ASSERT_EQ(Focused(), buttons->button(1));
    EXPECT_EQ(CyanPanels(), 1);
    EXPECT_EQ(buttons->panel(1)->palette().color(QPalette::Window), Cyan);
    EXPECT_TRUE(buttons->button(1)->font().bold());
    EXPECT_FALSE(buttons->button(0)->font().bold());
    EXPECT_EQ(panel->text(), "Help one"); // no help line of its own
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(panel->text(), "Help three");
    QTest::keyClick(Focused(), Qt::Key_Backtab);
    EXPECT_EQ(buttons->currentChoice(), 1);
    EXPECT_EQ(CyanPanels(), 1);
    buttons->button(2)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Tab); // leaving the row leaves no cyan panel
    EXPECT_EQ(Focused(), list);
    EXPECT_EQ(CyanPanels(), 0);

    ScriptedMessages messages;
    buttons->button(1)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(buttons->button(1), Qt::Key_Return);
    EXPECT_EQ(chosen, std::vector<int>{1});
    QTest::keyClick(buttons->button(1), Qt::Key_Space);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(buttons->button(1), &held); // a held Enter repeats nothing
    EXPECT_EQ(chosen, (std::vector<int>{1, 1}));
    for (Qt::Key k : {Qt::Key_A, Qt::Key_5, Qt::Key_F1, Qt::Key_Delete})
        QTest::keyClick(buttons->button(1), k);
    EXPECT_EQ(chosen.size(), 2u);
    EXPECT_EQ(Focused(), buttons->button(1));
    EXPECT_EQ(messages.beeps(), 0);

    // The arrows go round the row, past a disabled button.
    buttons->button(1)->setEnabled(false);
    buttons->button(0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Focused(), Qt::Key_Down);
    EXPECT_EQ(Focused(), buttons->button(2));
    QTest::keyClick(Focused(), Qt::Key_Down);
    EXPECT_EQ(Focused(), buttons->button(0));
    QTest::keyClick(Focused(), Qt::Key_Up);
    EXPECT_EQ(Focused(), buttons->button(2));
    EXPECT_EQ(CyanPanels(), 1);
    EXPECT_EQ(chosen.size(), 2u);
}

} // namespace
