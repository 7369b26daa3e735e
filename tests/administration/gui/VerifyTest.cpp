#include "administration/gui/frmVerify.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/AuditCheck.h"
#include "support/OnDataDisk.h"
#include "support/Screens.h"
#include "support/TestSupport.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

class VerifyTest : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(3);
        Globals().CurrentClient = 2;
        stored = Globals().Clients[2].Responses;
        before = data();
        window = std::make_unique<frmVerify>();
        window->show();
        QApplication::processEvents();
        box = window->findChild<QLineEdit*>(QStringLiteral("txtCurQuestion"));
        ASSERT_TRUE(box);
        ASSERT_TRUE(box->hasFocus());
    }
    void Key(const QString& codes) {
        for (QChar c : codes)
            QTest::keyClick(box, c.toLatin1());
    }
    QString Caption(const char* name) const {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QString Current() const { return Caption("lblCurQuestion"); }
    bool PreviousShown() const {
        return window->findChild<QGroupBox*>(QStringLiteral("Frame1"))->isVisible();
    }

    QString stored;
    QByteArray before;
    std::unique_ptr<frmVerify> window;
    QLineEdit* box = nullptr;
};

TEST_F(VerifyTest, KeyingTheStoredAnswersEndsWithNoCorrectionsAndAnUnchangedRecord) {
    EXPECT_EQ(Current(), "Question #1");
    EXPECT_FALSE(PreviousShown());
    EXPECT_EQ(Caption("pnlMessage"), "Enter response data from answer sheet. Press "
                                     "Backspace for previous question.");
    Key(stored);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Data Verification.");
    EXPECT_EQ(messages.last().text, "Data Verification complete. No corrections needed.");
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(data(), before);
    EXPECT_EQ(messages.beeps(), 0);
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"verified 2 (0)"});
}

// The stored value of item 5 is wrong; the operator keys the sheet right twice. The first write
// fails: the verified answers wait, nothing else is keyed, and Enter stores them.
TEST_F(VerifyTest, OneKeyingErrorAtItem5IsCorrectedOnItsOwnEvenAfterAFailedWrite) {
    const QChar right = stored[4] == QLatin1Char('2') ? QLatin1Char('1') : QLatin1Char('2');
    Key(stored.left(4) + right + stored.mid(5));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Data Corrections");
    EXPECT_EQ(messages.last().text,
              "Data Correction needed. Please correct the following questions.");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Current(), "Question #5");
    EXPECT_FALSE(PreviousShown());
    EXPECT_TRUE(box->text().isEmpty());

    fileio::InjectWriteFailure(0, EIO);
    Key(QString(right));
    ASSERT_EQ(messages.shown().size(), 2u); // no "complete" before the answers are stored
    EXPECT_EQ(messages.last().title, "Data Disk Error");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->SavePending());
    EXPECT_EQ(data(), before);
    EXPECT_EQ(Globals().Clients[2].Responses, stored); // memory matches the disk
    QTest::keyClick(box, '1');
    EXPECT_EQ(messages.beeps(), 1);

    fileio::ClearInjectedFailure();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(messages.last().title, "Data Verification");
    EXPECT_EQ(messages.last().text, "Data Verification complete.");
    EXPECT_EQ(window->result(), QDialog::Accepted);
    QString expected = stored;
    expected[4] = right;
    EXPECT_EQ(Globals().Clients[2].Responses, expected);
    LoadClients();
    EXPECT_EQ(Globals().Clients[2].Responses, expected);
    EXPECT_EQ(Globals().Clients[1], SampleClient(1));
    EXPECT_EQ(Globals().Clients[3], SampleClient(3));
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"verified 2 (1)"}); // after the failed write
}

TEST_F(VerifyTest, BackspaceAndRefusedKeysThenCancelInTheCorrectionPass) {
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(messages.beeps(), 1);
    EXPECT_EQ(Current(), "Question #1");

    Key(stored.left(10));
    EXPECT_EQ(Current(), "Question #11");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(Current(), "Question #10");
    EXPECT_EQ(Caption("lblPrevQuestion"), "Question #9");
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("txtPrevQuestion"))->text(),
              QString(stored[8]));
    Key(stored.mid(9, 2)); // items 10 and 11 again
    EXPECT_EQ(Current(), "Question #12");

    Key(QStringLiteral("3x")); // section 1 takes 0 to 2
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(messages.beeps(), 5);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Current(), "Question #12");
    EXPECT_TRUE(box->text().isEmpty());
    Key(stored.mid(11, 58));
    ASSERT_EQ(Current(), "Question #70");
    QTest::keyClick(box, '3'); // stored: 1
    EXPECT_EQ(Current(), "Question #71");
    EXPECT_EQ(messages.beeps(), 5);

    // Cancel in the correction pass stores nothing.
    Key(stored.mid(70));
    ASSERT_EQ(Current(), "Question #70");
    auto* cancel = window->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
    QTest::keyClick(box, Qt::Key_Tab);
    ASSERT_TRUE(cancel->hasFocus());
    EXPECT_EQ(Caption("pnlMessage"),
              "Press Enter to Cancel Data Verification and return to Main Menu");
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(data(), before);
    EXPECT_EQ(Globals().Clients[2].Responses, stored);
    EXPECT_EQ(AuditEvents(disk.path()), QStringList());
}

TEST_F(VerifyTest, DISABLED_ScreensForTheGuide) {
    Key(stored.left(11));
    SaveScreen(window.get(), QStringLiteral("verify.png"));
}

} // namespace
