#pragma once

// Driving windows from the keyboard in tests: keys go to whatever has the focus, as they would
// from a real keyboard. Modal windows opened with exec() are driven by ModalScript.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace varenta::testing {

inline void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Shows a window, makes it the active one and lets its activation run.
inline void ShowActive(QWidget* w) {
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    Settle();
}

inline QWidget* Focus() {
    return QApplication::focusWidget();
}
inline QString FocusName() {
    return Focus() ? Focus()->objectName() : QStringLiteral("(none)");
}

inline void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* w = Focus();
    ASSERT_NE(w, nullptr) << "no widget has the focus";
    QTest::keyClick(w, key, mods);
    Settle();
}

inline void Type(const QString& text) {
    for (QChar c : text) {
        QWidget* w = Focus();
        ASSERT_NE(w, nullptr) << "no widget has the focus";
        // ASCII letters, digits, blank and slash carry their key code; the rest comes as text.
        const ushort u = c.toUpper().unicode();
        const bool plain = u < 128 && (c.isLetterOrNumber() || c == u' ' || c == u'/');
        const Qt::KeyboardModifiers mods =
            plain && c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, plain ? u : 0, mods, QString(c));
        QKeyEvent release(QEvent::KeyRelease, plain ? u : 0, mods, QString(c));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
    Settle();
}

// Menu button `i` of window `w`, and the text of the window's help line.
inline QPushButton* MenuButton(QWidget* w, int i) {
    return w->findChild<QPushButton*>(QStringLiteral("cmdMenuChoice(%1)").arg(i));
}
inline QString HelpLine(QWidget* w) {
    return w->findChild<QLabel*>(QStringLiteral("MsgPanel"))->text();
}

// Puts the focus on menu button `i` of `w`, as Tab would; Press also presses Enter there.
inline void FocusMenuButton(QWidget* w, int i) {
    QPushButton* b = MenuButton(w, i);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isVisible()) << i;
    b->setFocus();
    Settle();
}
inline void PressMenuButton(QWidget* w, int i) {
    FocusMenuButton(w, i);
    Key(Qt::Key_Return);
}

} // namespace varenta::testing
