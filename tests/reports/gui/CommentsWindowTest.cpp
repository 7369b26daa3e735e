#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/gui/frmComments.h"
#include "scoring/ReportWriter.h"
#include "support/AuditCheck.h"
#include "support/GuiDriver.h" // QTest and the window helpers
#include "support/OnDataDisk.h"
#include "support/Screens.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::reports;
using namespace varenta::testing;
using varenta::reports::frmComments;

namespace {

class CommentsWindowTest : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(3);
        QByteArray records = QByteArray("Kept for client 1.").leftJustified(300, ' ');
        records += QByteArray("Earlier note.").leftJustified(300, ' ');
        WriteFile(disk.file("Comments.dat"), records);
        Globals().CurrentClient = 2;
    }
    void Open() {
        window = std::make_unique<frmComments>();
        window->show();
        QApplication::processEvents();
        text = window->findChild<QPlainTextEdit*>(QStringLiteral("txtComments"));
        ASSERT_TRUE(text->hasFocus());
    }
    QString CharLeft() const {
        return window->findChild<QLineEdit*>(QStringLiteral("txtCharLeft"))->text();
    }
    QPushButton* Button(int i) const { return MenuButton(window.get(), i); }
    QByteArray file() const { return ReadFile(disk.file("Comments.dat")); }

    std::unique_ptr<frmComments> window;
    QPlainTextEdit* text = nullptr;
};

// Typing and saving two lines is the supervisor window's comments test.
TEST_F(CommentsWindowTest, ShowsTheStoredCommentCancelKeepsTheFileAndThe300CharactersFit) {
    const QByteArray before = file();
    Open();
    EXPECT_EQ(window->windowTitle(), "Edit Comments");
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblClientName"))->text(), "Client 2");
    EXPECT_EQ(text->toPlainText(), "Earlier note.");
    EXPECT_EQ(CharLeft(), "287");
    QTest::keyClicks(text, QStringLiteral(" More."));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, QStringLiteral("Again."));
    EXPECT_EQ(CharLeft(), QString::number(287 - 6 - 2 - 6)); // the line break counts two
    QTest::keyClick(text, Qt::Key_Escape); // typed text is not thrown away by Escape
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(text, Qt::Key_Tab);
    ASSERT_TRUE(Button(0)->hasFocus());
    Button(1)->setFocus();
    QTest::keyClick(Button(1), Qt::Key_Return);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(window->Saved());
    EXPECT_EQ(file(), before);
    EXPECT_EQ(AuditEvents(disk.path()), QStringList());

    // Beyond the end of the comments file: an empty box, which takes 300 characters, no more.
    Globals().CurrentClient = 3;
    Open();
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_EQ(CharLeft(), "300");
    QTest::keyClicks(text, QString(299, QLatin1Char('a')));
    EXPECT_EQ(CharLeft(), "1");
    QTest::keyClick(text, Qt::Key_Return); // a line break needs two places
    EXPECT_EQ(messages.beeps(), 1);
    QTest::keyClicks(text, QStringLiteral("bc"));
    EXPECT_EQ(CharLeft(), "0");
    EXPECT_EQ(text->toPlainText(), QString(299, QLatin1Char('a')) + QLatin1Char('b'));
    EXPECT_EQ(messages.beeps(), 2);

    // A paste is cut to what still fits.
    text->clear();
    text->insertPlainText(QString(280, QLatin1Char('x')));
    text->insertPlainText(QString(50, QLatin1Char('y')));
    EXPECT_EQ(text->toPlainText(), QString(280, QLatin1Char('x')) + QString(20, QLatin1Char('y')));
    EXPECT_EQ(CharLeft(), "0");
}

TEST_F(CommentsWindowTest, AFailedWriteKeepsTheCommentInTheBoxAndTheFileIntact) {
    const QByteArray before = file();
    Open();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("Needs a follow-up visit."));
    bool viewerShown = false;
    window->SetShowReport([&] { viewerShown = true; });

    fileio::InjectWriteFailure(400, EIO); // the drive goes away during the write
    Button(0)->setFocus();
    QTest::keyClick(Button(0), Qt::Key_Return);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Data Disk Error");
    EXPECT_TRUE(messages.last().text.startsWith("Data disk error!"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(viewerShown);
    EXPECT_EQ(text->toPlainText(), "Needs a follow-up visit.");
    EXPECT_EQ(file(), before);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);

    // Back in the drive: OK on the message tries again and the comment is saved.
    fileio::InjectWriteFailure(400, EIO);
    messages.OnShow([](const Message&) { fileio::ClearInjectedFailure(); });
    messages.Answer(MsgAnswer::Ok);
    QTest::keyClick(Button(0), Qt::Key_Return);
    EXPECT_TRUE(viewerShown);
    EXPECT_EQ(file().left(300), before.left(300)) << "client 1's comment kept";
    EXPECT_EQ(file().mid(300, 300), QByteArray("Needs a follow-up visit.").leftJustified(300, ' '));
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"comment-saved 2"}); // the comment itself not
}

// While typing, the window says whether the report will print the comment whole.
TEST_F(CommentsWindowTest, SaysWhileTypingWhetherTheReportPrintsTheCommentWhole) {
    Open();
    auto* fit = window->findChild<QLabel*>(QStringLiteral("lblReportFit"));
    ASSERT_NE(fit, nullptr);
    EXPECT_EQ(fit->text(), "The report prints this comment whole.");
    text->selectAll();
    QString words;
    while (words.size() < 300)
        words += QStringLiteral("Rehabilitation, accountability, responsibility: recommendation "
                                "follows. ");
    QTest::keyClicks(text, words.left(300));
    EXPECT_EQ(CharLeft(), "0");
    const scoring::CommentFit expected = scoring::FitComment(words.left(300));
    ASSERT_FALSE(expected.whole);
    EXPECT_EQ(fit->text(), QStringLiteral("Too long for the report's 5 comment lines: only the "
                                          "first %1 characters print. Shorten the comment to "
                                          "print it all.")
                               .arg(expected.printed));
    EXPECT_TRUE(fit->font().bold());
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(text, Qt::Key_Backspace);
    EXPECT_EQ(fit->text(), "The report prints this comment whole.");
}

TEST_F(CommentsWindowTest, DISABLED_ScreensForTheGuide) {
    Globals().Clients[2].ClientName = Fit(QStringLiteral("Marisol Quintero"), width::ClientName);
    Open();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("Lives with her aunt; attends school daily."));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, QStringLiteral("Review in May with the probation officer."));
    SaveScreen(window.get(), QStringLiteral("comments.png"));
}

} // namespace
