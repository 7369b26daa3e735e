#include "intake/gui/frmCourtHistory.h"

#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/ClientInfo.h"
#include "store/ClientStore.h"
#include "support/GuiDriver.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::intake;
using namespace varenta::testing;

namespace {

class CourtHistoryWindow : public OnDataDisk {
protected:
    void SetUp() override { LoadDisk(2); }
    void OpenNew() {
        ClientRecord& r = NewClient();
        for (int q = 1; q <= 8; ++q)
            *r.CourtField(q) = QStringLiteral("  ");
        ShowActive(&w);
    }
    QString Answer(int q) { return w.answerField(q)->text(); }

    frmCourtHistory w;
};

TEST_F(CourtHistoryWindow, AnswersTypedFromTheKeyboard) {
    const QByteArray before = data();
    OpenNew();
    EXPECT_EQ(FocusName(), "txtAge1stArrest");
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblClientName"))->text(),
              SampleClient(3).ClientName);
    Type(QStringLiteral("5"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Answer(1), QString());
    EXPECT_EQ(messages.last().text, "Enter age of client in number of years. "
                                    "Press Enter to continue.");
    EXPECT_EQ(messages.last().title, "QVtest");
    Type(QStringLiteral("n"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Answer(1), "N");
    EXPECT_EQ(FocusName(), "txtProbations");

    Type(QStringLiteral("00"));
    Key(Qt::Key_Return);
    EXPECT_EQ(messages.last().title, "Data Entry Error");
    EXPECT_EQ(Answer(2), "00"); // kept for correction
    EXPECT_EQ(FocusName(), "txtProbations");
    w.answerField(2)->selectAll(); // both selected: the next digit replaces them
    Type(QStringLiteral("0"));
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "txtProbRevocations");

    const int beeps = messages.beeps();
    Type(QStringLiteral("99"));
    w.answerField(3)->setCursorPosition(2); // nothing selected: a third character is refused
    Type(QStringLiteral("7"));
    EXPECT_EQ(Answer(3), "99");
    EXPECT_EQ(messages.beeps(), beeps + 1);
    Key(Qt::Key_Backspace);
    Type(QStringLiteral("x"));
    EXPECT_EQ(Answer(3), "9x");
    Key(Qt::Key_Return);
    for (int q = 4; q <= 8; ++q) {
        Type(QString::number(q));
        Key(Qt::Key_Return);
    }
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
    Key(Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(Globals().ContinueFlag);
    const ClientRecord& r = Globals().Clients[3];
    EXPECT_EQ(r.Age1stArrest + r.Probations + r.ProbRevocations + r.TimesArrested + r.DrugArrests,
              "N 0 9x4 8 ");
    EXPECT_EQ(data(), before);
}

TEST_F(CourtHistoryWindow, OkFindsTheFirstMissingAnswer) {
    OpenNew();
    Type(QStringLiteral("3")); // below the age rule, never confirmed: the general rule holds
    for (int q = 2; q <= 8; ++q)
        if (q != 6)
            w.answerField(q)->setText(QStringLiteral("1"));
    FocusMenuButton(&w, 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "txtJCHearings");
    EXPECT_EQ(messages.last().title, "Data Entry Error");
    Type(QStringLiteral("2"));
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
    Key(Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Globals().Clients[3].Age1stArrest, "3 ");
}

// A new client's cancel is part of the intake chain's tests.
TEST_F(CourtHistoryWindow, EditedClientShowsStoredAnswersAndWritesOnlyItsRecord) {
    Globals().EditMode = true;
    Globals().CurrentClient = 1;
    const QByteArray before = data();
    ShowActive(&w);
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
    EXPECT_EQ(Answer(1), "1 "); // as stored, with its blank
    w.answerField(1)->setFocus();
    Settle();
    Type(QStringLiteral("14"));
    Key(Qt::Key_Return);
    FocusMenuButton(&w, 0);
    Key(Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    const QByteArray after = data();
    EXPECT_EQ(after.mid(60, 4), QByteArray("142 "));
    EXPECT_EQ(after.mid(195), before.mid(195));
    EXPECT_EQ(after.left(60), before.left(60));

    // Cancel leaves an edited client alone.
    frmCourtHistory again;
    ShowActive(&again);
    again.answerField(2)->setText(QStringLiteral("9"));
    Key(Qt::Key_Escape); // does nothing: Cancel is the way out
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.answerField(2)->text(), "9");
    PressMenuButton(&again, 1);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(data(), after);
    EXPECT_EQ(Globals().CurrentClient, 1);
    EXPECT_EQ(Globals().Clients[1].Probations, "2 ");
}

} // namespace
