#include "app/Globals.h"
#include "app/Messages.h"
#include "support/AuditCheck.h"
#include "support/ModalScript.h"
#include "support/TestSupport.h"
#include "ui/frmDriveSelect.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;
using namespace varenta::ui;

namespace {

TEST(DriveList, RemovableFirstThenHomeAndOtherDisksWithoutSystemAreas) {
    const QVector<DriveEntry> mounted = {
        {QStringLiteral("/"), QStringLiteral("/"), false},
        {QStringLiteral("boot"), QStringLiteral("/boot/efi"), false},
        {QStringLiteral("SCREENING"), QStringLiteral("/media/ann/SCREENING/"), false},
        {QStringLiteral("/run/user/1000"), QStringLiteral("/run/user/1000"), false},
        {QString(), QStringLiteral("/run/media/bob/STICK"), false},
        {QStringLiteral("archive"), QStringLiteral("/srv/archive"), false},
        {QStringLiteral("SCREENING"), QStringLiteral("/media/ann/SCREENING"), false},
    };
    QStringList labels;
    for (const DriveEntry& d : OrderDrives(mounted, QStringLiteral("/home/ann")))
        labels << d.label;
    EXPECT_EQ(labels,
              (QStringList{"Removable disk SCREENING (/media/ann/SCREENING)",
                           "Removable disk STICK (/run/media/bob/STICK)", "Home folder (/home/ann)",
                           "Computer's main disk (/)", "Disk archive (/srv/archive)"}));
}

class DriveDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.SetFolderChooser([this](QWidget*, const QString&, const QString&) {
            return chooserAnswers.isEmpty() ? QString() : chooserAnswers.takeFirst();
        });
    }
    TempDir tmp;
    frmDriveSelect dialog;
    QStringList chooserAnswers;
    ScriptedMessages messages;
};

template <class T> T* Find(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

TEST_F(DriveDialog, HelpThenDoneWithoutAChoiceGivesNothing) {
    ModalScript script;
    bool stillOpen = false;
    script.Then([&](QWidget* w) {
        Find<QPushButton>(w, "cmdhelp")->setFocus();
        QTest::keyClick(Find<QPushButton>(w, "cmdhelp"), Qt::Key_Return);
        stillOpen = w->isVisible();
        Find<QComboBox>(w, "drDrive")->setFocus();
        QTest::keyClick(Find<QComboBox>(w, "drDrive"), Qt::Key_Return); // Enter there: Done
    });
    EXPECT_EQ(dialog.ChooseDrive(), QString());
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dialog.windowTitle(), "Select Data Drive");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              "Use the dropdown box to select the drive that the floppy data \n"
              "diskette or USB Flash Drive is in. Floppy drives are usually A: or\n"
              "B: and USB drives are usually F: or G:");
    EXPECT_EQ(messages.last().icon, MsgIcon::None);
}

TEST_F(DriveDialog, OtherFolderIsChosenAndRememberedForTheNextShowing) {
    QDir().mkpath(tmp.path() + QStringLiteral("/disk"));
    chooserAnswers << tmp.path() + QStringLiteral("/disk/");
    ModalScript script;
    auto lastEntryThenDone = [](QWidget* w) {
        QTest::keyClick(Find<QComboBox>(w, "drDrive"), Qt::Key_End); // "Other folder..."
        QTest::keyClick(Find<QPushButton>(w, "cmdDone"), Qt::Key_Space);
    };
    script.Then(lastEntryThenDone).Then(lastEntryThenDone);
    EXPECT_EQ(dialog.ChooseDrive(), tmp.path() + QStringLiteral("/disk"));
    // Shown again it offers the same folder, and a cancelled chooser keeps it.
    EXPECT_EQ(dialog.ChooseDrive(), tmp.path() + QStringLiteral("/disk"));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(script.unexpected(), 0);
}

// A long path is kept whole; what the configuration file cannot give back is refused when it
// is chosen, saying why, and the choice stays as it was.
TEST_F(DriveDialog, AFolderTheConfigurationCannotKeepIsRefusedWhenChosen) {
    EXPECT_EQ(NormalizeFolder(QStringLiteral("/media/x/")), "/media/x");
    EXPECT_EQ(NormalizeFolder(QStringLiteral("/")), "/");
    EXPECT_TRUE(CanRememberPath(QString(120, QLatin1Char('a'))));
    EXPECT_TRUE(CanRememberPath(QStringLiteral("/media/José")));
    EXPECT_FALSE(CanRememberPath(QStringLiteral("/media/Дмитрий")));
    EXPECT_FALSE(CanRememberPath(QStringLiteral("/media/x ")));
    EXPECT_FALSE(CanRememberPath(QStringLiteral("/media/x\ny")));
    const QString folder = tmp.path() + QLatin1Char('/') + QString(50, QLatin1Char('d'));
    dialog.Choose(folder);
    EXPECT_EQ(dialog.Result(), folder);
    EXPECT_TRUE(messages.shown().empty());

    const QString lines = tmp.path() + QStringLiteral("/two\nlines");
    dialog.Choose(lines);
    EXPECT_EQ(dialog.Result(), folder);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(messages.last().text.contains("line break")) << qPrintable(messages.last().text);
    EXPECT_TRUE(messages.last().text.contains(tmp.path() + QStringLiteral("/two\\nlines")));
}

TEST_F(DriveDialog, PrepareAsksFirstAndNeverOverwritesADataDisk) {
    const QString folder = tmp.path() + QStringLiteral("/new disk");
    chooserAnswers << folder << folder << folder;
    messages.Answer(MsgAnswer::No);
    dialog.cmdPrepare()->click();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(messages.last().text.contains(folder));

    messages.clear();
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Ok});
    dialog.cmdPrepare()->click();
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/TID")), QByteArray("QV\r\n"));
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/DATA401.QV")).size(), 0);
    EXPECT_EQ(dialog.Result(), folder);
    EXPECT_EQ(AuditEvents(folder), QStringList{"disk-prepared"});

    WriteFile(folder + QStringLiteral("/DATA401.QV"), SampleClient(1).ToBytes());
    messages.clear();
    messages.Answer(MsgAnswer::Yes);
    dialog.cmdPrepare()->click();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(messages.last().text.contains("already a data disk"));
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/DATA401.QV")), SampleClient(1).ToBytes());
}

} // namespace
