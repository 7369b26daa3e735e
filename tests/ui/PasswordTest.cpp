#include "ui/Password.h"
#include "app/BuildConfig.h"
#include "app/Messages.h"
#include "support/ModalScript.h"
#include "ui/MenuButtons.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;
using namespace varenta::ui;

namespace {

const QString Letter = QString(QChar::fromLatin1(build::SupervisorLetter));

QLineEdit* Input(QWidget* box) {
    return box->findChild<QLineEdit*>(QStringLiteral("txtInput"));
}
QPushButton* Button(QWidget* box, int i) {
    return box->findChild<QPushButton*>(QStringLiteral("cmdMenuChoice(%1)").arg(i));
}

ModalScript::Step TypeAndEnter(const QString& text) {
    return [text](QWidget* box) {
        Input(box)->setFocus();
        QTest::keyClicks(Input(box), text);
        QTest::keyClick(Input(box), Qt::Key_Return);
    };
}

TEST(SupervisorPassword, ThreeWrongEntriesThenCancelGiveThreeBoxesAndFalse) {
    ScriptedMessages messages;
    ModalScript script;
    const QString wrong = Letter == QStringLiteral("Q") ? QStringLiteral("Z") : QStringLiteral("Q");
    script.Then(TypeAndEnter(wrong))
        .Then(TypeAndEnter(QStringLiteral(" ") + Letter)) // no trimming: a blank makes it wrong
        .Then(TypeAndEnter(Letter + Letter))
        .Then([](QWidget* box) { QTest::keyClick(Input(box), Qt::Key_Escape); });
    EXPECT_FALSE(AskSupervisorPassword());
    EXPECT_EQ(script.remaining(), 0);
    EXPECT_EQ(script.unexpected(), 0);
    ASSERT_EQ(messages.shown().size(), 3u);
    for (const Message& m : messages.shown()) {
        EXPECT_EQ(m.title, "Incorrect Password");
        EXPECT_EQ(m.text, "Incorrect password.  Please try again.");
        EXPECT_EQ(m.icon, MsgIcon::Critical);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
    }
}

TEST(SupervisorPassword, OnlyTheLetterInEitherCaseIsRight) {
    ScriptedMessages messages;
    ModalScript script;
    for (const QString& entry : {Letter.toLower(), Letter.toUpper()}) {
        script.Then(TypeAndEnter(entry));
        EXPECT_TRUE(AskSupervisorPassword()) << qPrintable(entry);
    }
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_FALSE(IsSupervisorPassword(QString()));
    EXPECT_FALSE(IsSupervisorPassword(Letter + QStringLiteral(" ")));
}

TEST(SupervisorPassword, PromptIsMaskedLimitedToEightAndRefusesAnEmptyEntry) {
    ScriptedMessages messages;
    ModalScript script;
    QString caption, help, typed;
    bool masked = false;
    bool stillOpenAfterEmptyOk = false;
    script.Then([&](QWidget* box) {
        caption = box->windowTitle();
        help = box->findChild<QLabel*>(QStringLiteral("lblHelpMsg"))->text();
        masked = Input(box)->echoMode() == QLineEdit::Password;
        Input(box)->setFocus();
        QTest::keyClicks(Input(box), QStringLiteral("ABCDEFGHI"));
        typed = Input(box)->text();
        Input(box)->clear();
        Button(box, 0)->setFocus();
        QTest::keyClick(Button(box, 0), Qt::Key_Return); // OK on an empty field
        stillOpenAfterEmptyOk = box->isVisible() && box->focusWidget() == Input(box);
        QTest::keyClicks(Input(box), Letter);
        Button(box, 0)->click();
    });
    EXPECT_TRUE(AskSupervisorPassword());
    EXPECT_EQ(caption, "Enter Supervisor Password");
    EXPECT_EQ(help, "Enter the Supervisor password to continue.  For security, "
                    "asterisks (*) will show as you type.");
    EXPECT_TRUE(masked);
    EXPECT_EQ(typed, "ABCDEFGH"); // a ninth character cannot be typed
    EXPECT_TRUE(stillOpenAfterEmptyOk);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, "Please enter the required password.");
    EXPECT_EQ(messages.last().title, "Input required");
    EXPECT_EQ(messages.last().icon, MsgIcon::Question);
}

TEST(InputBox, PlainEntryIsCutToItsLengthAndCancelLeavesNoValue) {
    ScriptedMessages messages;
    frmMyInputBox box;
    box.SetInputLength(5);
    ModalScript script;
    script.Then(TypeAndEnter(QStringLiteral("abcdefg"))).Then([](QWidget* w) {
        QTest::keyClicks(Input(w), QStringLiteral("typed"));
        Button(w, 1)->setFocus();
        QTest::keyClick(Button(w, 1), Qt::Key_Return); // Enter on Cancel cancels
    });
    box.exec();
    EXPECT_FALSE(box.Cancelled());
    EXPECT_EQ(box.InputValue(), "abcde");
    frmMyInputBox again;
    again.exec();
    EXPECT_TRUE(again.Cancelled());
    EXPECT_TRUE(again.InputValue().isEmpty());
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace
