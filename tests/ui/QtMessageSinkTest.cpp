#include "ui/QtMessageSink.h"

#include "app/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace varenta;

namespace {

// Presses Enter in the next message box, as a user would who does not read it.
MsgAnswer EnterOn(MsgButtons buttons, MsgDefault which) {
    ui::QtMessageSink sink;
    MessageSink* previous = InstallMessageSink(&sink);
    QTimer::singleShot(0, [] {
        (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 1000);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    const MsgAnswer answer = MsgBox(QStringLiteral("Sure?"), buttons, MsgIcon::Critical,
                                    QStringLiteral("WARNING!"), which);
    InstallMessageSink(previous);
    return answer;
}

} // namespace

// A box that asks before something that cannot be undone may make the second button Enter's.
TEST(QtMessageSinkTest, EnterPressesTheDefaultButton) {
    EXPECT_EQ(EnterOn(MsgButtons::YesNo, MsgDefault::First), MsgAnswer::Yes);
    EXPECT_EQ(EnterOn(MsgButtons::YesNo, MsgDefault::Second), MsgAnswer::No);
    EXPECT_EQ(EnterOn(MsgButtons::OkCancel, MsgDefault::Second), MsgAnswer::Cancel);
}
