#include "administration/gui/frmNewEntry.h"

#include "administration/QuestionDbFixture.h"
#include "administration/TestSpec.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "support/GuiDriver.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QTableWidget>

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

class AnswerSheetWindow : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(2);
        MakeQuestionDb(program.path(), {QStringLiteral("English")});
    }
    void OpenNew() {
        NewClient();
        ShowActive(&w);
    }
    void OpenEdit(int client) {
        Globals().EditMode = true;
        Globals().CurrentClient = qint16(client);
        ShowActive(&w);
    }
    // Grid and row (from 1) of the focused grid's current row.
    std::pair<int, int> Where() {
        for (int g = 0; g < w.GridCount(); ++g)
            if (w.grid(g)->hasFocus())
                return {g, w.grid(g)->currentRow() + 1};
        return {-1, -1};
    }
    QString Help() { return HelpLine(&w); }

    frmNewEntry w;
};

TEST_F(AnswerSheetWindow, WholeSheetKeyedAsOneStreamAndSavedAfterAFailedWrite) {
    const QByteArray before = data();
    OpenNew();
    ASSERT_EQ(w.GridCount(), 3);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblSection(2)"))->text(), "Section 3");
    EXPECT_EQ(w.grid(0)->columnCount(), 3);
    EXPECT_EQ(w.grid(1)->columnCount(), 5);
    EXPECT_EQ(w.grid(2)->columnCount(), 5);
    EXPECT_EQ(w.grid(1)->item(0, 0)->text(), "64.");
    EXPECT_EQ(Where(), std::make_pair(0, 1));
    EXPECT_EQ(Help(), "0=No answer, 1=True, 2=False, Tab=Next grid");
    for (int g = 0; g < 3; ++g)
        for (int r = 0; r < w.grid(g)->rowCount(); ++r)
            for (int c = 1; c < w.grid(g)->columnCount(); ++c)
                ASSERT_TRUE(w.grid(g)->item(r, c)->text().isEmpty());

    QString typed;
    for (int item = 1; item <= 116; ++item)
        typed += QChar(u'0' + (item <= 63 ? item % 3 : (item * 7) % 5));
    Type(typed.left(63));
    EXPECT_EQ(Where(), std::make_pair(1, 1)); // on into the next grid by itself
    EXPECT_EQ(Help(), AnswerHelpLine(family::Frequency));
    Type(typed.mid(63));
    EXPECT_EQ(Where(), std::make_pair(2, 19));
    EXPECT_EQ(messages.beeps(), 1); // the last item: nowhere further down
    EXPECT_EQ(w.Cells(), typed);
    EXPECT_EQ(w.grid(0)->item(0, 1)->text(), "X");       // item 1: code 1
    EXPECT_EQ(w.grid(0)->item(2, 1)->text(), QString()); // item 3: code 0

    // A failed save keeps the answers on screen for a retry.
    Key(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
    EXPECT_EQ(Help(), "SAVE data, close this window and return to Main Menu");
    fileio::InjectWriteFailure(0, ENXIO);
    messages.Answer(MsgAnswer::Cancel);
    Key(Qt::Key_Return);
    EXPECT_TRUE(messages.last().text.startsWith("Data disk not found!"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Globals().ClientCount, 2);
    EXPECT_EQ(data(), before);
    EXPECT_EQ(w.Cells(), typed);

    fileio::ClearInjectedFailure();
    Key(Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Globals().ClientCount, 3);
    const QByteArray after = data();
    ASSERT_EQ(after.size(), 3 * 195);
    EXPECT_EQ(after.left(2 * 195), before);
    EXPECT_EQ(QString::fromLatin1(after.mid(2 * 195 + 76, 116)), typed);
}

TEST_F(AnswerSheetWindow, RefusedDigitsAndMovesAcrossGrids) {
    OpenNew();
    const int beeps = messages.beeps();
    Type(QStringLiteral("3"));
    Type(QStringLiteral("a"));
    Key(Qt::Key_Up);
    EXPECT_EQ(messages.beeps(), beeps + 3);
    EXPECT_EQ(Where(), std::make_pair(0, 1));
    EXPECT_EQ(w.Cells(), QString(116, QLatin1Char('0')));

    Key(Qt::Key_Tab);
    EXPECT_EQ(Where(), std::make_pair(1, 1));
    Type(QStringLiteral("5"));
    EXPECT_EQ(messages.beeps(), beeps + 4);
    Type(QStringLiteral("4"));
    EXPECT_EQ(w.Cells()[63], QLatin1Char('4'));
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(Where(), std::make_pair(0, 63));
    EXPECT_EQ(w.grid(0)->item(62, 0)->text(), "63.");
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    EXPECT_EQ(Where(), std::make_pair(0, 63));

    // A grid the focus comes back to shows the row it was left on, by Tab or by an arrow.
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Where(), std::make_pair(1, 2));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Where(), std::make_pair(2, 1));
    Key(Qt::Key_Backtab);
    EXPECT_EQ(Where(), std::make_pair(1, 2));
    Key(Qt::Key_Backtab);
    EXPECT_EQ(Where(), std::make_pair(0, 63)); // left with the Down arrow from its last row

    // Keying the last item of a grid passes into the next one; Shift+Tab goes back to the row
    // just keyed, not to the row of an earlier visit.
    Key(Qt::Key_Tab);
    for (int i = 2; i < 34; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(Where(), std::make_pair(1, 34));
    Type(QStringLiteral("3"));
    EXPECT_EQ(Where(), std::make_pair(2, 1));
    Key(Qt::Key_Backtab);
    EXPECT_EQ(Where(), std::make_pair(1, 34));
    Type(QStringLiteral("2")); // corrects item 97 and goes on again
    EXPECT_EQ(w.Cells()[96], QLatin1Char('2'));
    EXPECT_EQ(Where(), std::make_pair(2, 1));
}

// On the shipped question table: its three sections, every stored answer marked, the row
// colours following the keys; a stray Escape or Cancel keeps the stored answers.
TEST_F(AnswerSheetWindow, ShippedTableRowColoursAndCancel) {
    UseProgramDir();
    Globals().QuestionDbPath.clear();
    const QByteArray before = data();
    OpenEdit(1);
    ASSERT_EQ(w.GridCount(), 3);
    EXPECT_EQ(w.grid(0)->rowCount(), 63);
    EXPECT_EQ(w.grid(1)->rowCount(), 34);
    EXPECT_EQ(w.grid(2)->rowCount(), 19);
    const int x1 = Globals().Clients[1].Responses[0].digitValue();
    ASSERT_GE(x1, 1);
    QTableWidget* g = w.grid(0);
    EXPECT_EQ(g->item(0, x1)->text(), "X");
    const QString stored = Globals().Clients[1].Responses;
    for (auto [grid, row, item] : {std::tuple{0, 63, 63}, {1, 34, 97}, {2, 19, 116}}) {
        const int code = stored[item - 1].digitValue();
        for (int c = 1; c < w.grid(grid)->columnCount(); ++c)
            EXPECT_EQ(w.grid(grid)->item(row - 1, c)->text(), c == code ? "X" : "") << item;
        EXPECT_EQ(w.grid(grid)->item(row - 1, code)->foreground().color(), QColor(0, 0, 128));
    }
    EXPECT_EQ(g->item(0, x1)->background().color(), QColor(0, 255, 0));
    EXPECT_EQ(g->item(0, 3 - x1)->background().color(), QColor(0, 255, 255));
    Key(Qt::Key_Down);
    EXPECT_EQ(g->item(0, x1)->background().color(), QColor(Qt::white));
    EXPECT_EQ(g->item(0, x1)->foreground().color(), QColor(0, 0, 128));
    EXPECT_EQ(g->item(1, 1)->background().color().green(), 255);
    Key(Qt::Key_Tab);
    EXPECT_EQ(g->item(1, 1)->background().color(), QColor(Qt::white)); // left grid: plain again

    Type(QStringLiteral("2222"));
    Key(Qt::Key_Escape); // does nothing: answers are not thrown away by a stray key
    EXPECT_TRUE(w.isVisible());
    PressMenuButton(&w, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Globals().Clients[1].Responses, stored);
    EXPECT_EQ(data(), before);
}

TEST_F(AnswerSheetWindow, MissingDatabaseClosesWithAClearMessage) {
    const QByteArray before = data();
    fileio::Remove(Globals().QuestionDbPath);
    Globals().EditMode = false;
    Globals().CurrentClient = 3;
    Globals().Clients[3] = SampleClient(3);
    w.show();
    Settle();
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_TRUE(messages.last().text.startsWith("Error 3024:"));
    EXPECT_TRUE(messages.last().text.contains(Globals().QuestionDbPath));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Globals().ClientCount, 2);
    EXPECT_EQ(data(), before);
}

} // namespace
