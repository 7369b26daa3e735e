#include "ModalScript.h"
#include "app/Globals.h"
#include "app/Messages.h"
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
        {QStringLiteral("/home"), QStringLiteral("/home"), false},
    };
    const QVector<DriveEntry> out = OrderDrives(mounted, QStringLiteral("/home/ann"));
    QStringList paths, labels;
    for (const DriveEntry& d : out) {
        paths << d.path;
        labels << d.label;
    }
    EXPECT_EQ(paths, (QStringList{"/media/ann/SCREENING", "/run/media/bob/STICK", "/home/ann", "/",
                                  "/home", "/srv/archive"}));
    EXPECT_EQ(labels[0], QStringLiteral("Removable disk SCREENING (/media/ann/SCREENING)"));
    EXPECT_EQ(labels[1], QStringLiteral("Removable disk STICK (/run/media/bob/STICK)"));
    EXPECT_EQ(labels[2], QStringLiteral("Home folder (/home/ann)"));
    EXPECT_TRUE(out[0].removable);
    EXPECT_FALSE(out[2].removable);
}

TEST(DriveList, PathsWithoutTrailingSlashAndWhatTheConfigurationCanKeep) {
    EXPECT_EQ(NormalizeFolder(QStringLiteral("/media/x/")), QStringLiteral("/media/x"));
    EXPECT_EQ(NormalizeFolder(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(NormalizeFolder(QString()), QString());
    EXPECT_TRUE(CanRememberPath(QString(49, QLatin1Char('a'))));
    EXPECT_FALSE(CanRememberPath(QString(50, QLatin1Char('a'))));
    EXPECT_TRUE(CanRememberPath(QStringLiteral("/media/José")));
    EXPECT_FALSE(CanRememberPath(QStringLiteral("/media/Дмитрий")));
    EXPECT_FALSE(CanRememberPath(QStringLiteral("/media/x ")));
}

class DriveDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.SetFolderChooser([this](QWidget*, const QString& title, const QString&) {
            titles << title;
            return chooserAnswers.isEmpty() ? QString() : chooserAnswers.takeFirst();
        });
    }
    int IndexOfLabel(const QString& label) { return dialog.drDrive()->findText(label); }

    TempDir tmp;
    frmDriveSelect dialog;
    QStringList chooserAnswers;
    QStringList titles;
};

TEST_F(DriveDialog, CaptionHelpAndDoneWithoutAChoice) {
    ScriptedMessages messages;
    ModalScript script;
    script.Then([](QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdhelp")), Qt::LeftButton);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdDone")), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.ChooseDrive(), QString());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Data Drive"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Use the dropdown box to select the drive that the floppy data \n"
                             "diskette or USB Flash Drive is in. Floppy drives are usually A: or\n"
                             "B: and USB drives are usually F: or G:"));
    EXPECT_EQ(messages.last().buttons, MsgButtons::Ok);
    EXPECT_EQ(messages.last().icon, MsgIcon::None);
    EXPECT_EQ(dialog.drDrive()->itemText(dialog.drDrive()->count() - 1),
              QStringLiteral("Other folder..."));
}

TEST_F(DriveDialog, OtherFolderIsChosenAndRememberedForTheNextShowing) {
    ScriptedMessages messages;
    const QString folder = tmp.path() + QStringLiteral("/disk/");
    QDir().mkpath(folder);
    chooserAnswers << folder;
    ModalScript script;
    script.Then([](QWidget* w) {
        auto* combo = w->findChild<QComboBox*>(QStringLiteral("drDrive"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_End); // the last entry, "Other folder...", opens the chooser
        QTest::keyClick(combo, Qt::Key_Return); // Enter in the list presses Done
    });
    EXPECT_EQ(dialog.ChooseDrive(), tmp.path() + QStringLiteral("/disk"));
    EXPECT_EQ(titles, QStringList{QStringLiteral("Choose the Data Disk Folder")});
    EXPECT_TRUE(messages.shown().empty()); // a short path needs no warning

    // Shown again, it offers the same folder; a cancelled chooser keeps it.
    script.Then([](QWidget* w) {
        auto* combo = w->findChild<QComboBox*>(QStringLiteral("drDrive"));
        QTest::keyClick(combo, Qt::Key_End);
        QTest::keyClick(w->findChild<QPushButton*>(QStringLiteral("cmdDone")), Qt::Key_Space);
    });
    EXPECT_EQ(dialog.ChooseDrive(), tmp.path() + QStringLiteral("/disk"));
    EXPECT_EQ(script.unexpected(), 0);
}

TEST_F(DriveDialog, ALongPathIsUsedButTheUserIsToldItCannotBeRemembered) {
    ScriptedMessages messages;
    const QString folder = tmp.path() + QStringLiteral("/") + QString(50, QLatin1Char('d'));
    QDir().mkpath(folder);
    dialog.Choose(folder);
    EXPECT_EQ(dialog.Result(), folder);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(folder));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("49 characters")));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("It will be used now.")));
}

TEST_F(DriveDialog, PrepareNewDiskAsksThenWritesTheMarkerAndSelectsIt) {
    ScriptedMessages messages;
    const QString folder = tmp.path() + QStringLiteral("/new disk");
    chooserAnswers << folder << folder;
    messages.Answer({MsgAnswer::No}); // first time: not confirmed, nothing written
    dialog.cmdPrepare()->click();
    EXPECT_FALSE(QFileInfo::exists(folder));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(folder));
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);

    messages.clear();
    messages.Answer({MsgAnswer::Yes, MsgAnswer::Ok});
    dialog.cmdPrepare()->click();
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/TID")), QByteArray("QV\r\n"));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/DATA401.QV")));
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/DATA401.QV")).size(), 0);
    EXPECT_EQ(dialog.Result(), folder);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("ready")));
}

TEST_F(DriveDialog, PrepareNeverOverwritesADataDisk) {
    ScriptedMessages messages;
    WriteDataDisk(tmp.path(), {SampleClient(1)});
    const QByteArray before = ReadFile(tmp.file(QStringLiteral("DATA401.QV")));
    chooserAnswers << tmp.path();
    messages.Answer({MsgAnswer::Yes});
    dialog.cmdPrepare()->click();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("already a data disk")));
    EXPECT_EQ(ReadFile(tmp.file(QStringLiteral("DATA401.QV"))), before);
}

TEST_F(DriveDialog, OffersTheDiskInUseWhenNothingWasChosenYet) {
    Globals().DataPath = tmp.path();
    dialog.RefreshDrives();
    EXPECT_EQ(dialog.Result(), tmp.path());
    EXPECT_EQ(dialog.drDrive()->currentText(), QStringLiteral("Folder %1").arg(tmp.path()));
}

} // namespace

namespace {

TEST_F(DriveDialog, EnterPressesTheFocusedButtonAndDoneOtherwise) {
    ScriptedMessages messages;
    ModalScript script;
    bool stillOpen = false;
    script.Then([&](QWidget* w) {
        auto* help = w->findChild<QPushButton*>(QStringLiteral("cmdhelp"));
        help->setFocus();
        QTest::keyClick(help, Qt::Key_Return);
        stillOpen = w->isVisible();
        auto* combo = w->findChild<QComboBox*>(QStringLiteral("drDrive"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Return);
    });
    dialog.ChooseDrive();
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(messages.shown().size(), 1u); // the help text
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
