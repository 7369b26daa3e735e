// The data disk selection as the user meets it: at start-up and from the menu, with every
// message answered in advance and the drive dialog driven like a user would.
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/ModalScript.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"
#include "ui/MainMenuHooks.h"
#include "ui/frmAbout.h"
#include "ui/frmDriveSelect.h"
#include "ui/frmMainMenu.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::testing;
using namespace varenta::ui;

namespace {

const QString TryAgain = QStringLiteral("Drive select unsuccessful, would you like to try again?");
const QString NotOurs = QStringLiteral("This is not a Varenta data disk.");

class DriveSelectionTest : public OnDataDisk {
protected:
    void SetUp() override {
        frmAbout::SetTimeScale(0.0, 0.0);
        Globals().ProgramDir = program.path();
        good = tmp.path() + QStringLiteral("/good");
        other = tmp.path() + QStringLiteral("/other");
        WriteDataDisk(good, {SampleClient(1), SampleClient(2), SampleClient(3)});
        WriteDataDisk(other, {SampleClient(7)});
    }

    void StoreFilePath(const QString& path) {
        WriteFile(program.file(QStringLiteral("qvtest.ini")),
                  QStringLiteral("[Path]\r\nFilePath=%1\r\n").arg(path).toUtf8());
    }

    static ModalScript::Step ChooseAndDone(const QString& folder) {
        return [folder](QWidget* w) {
            auto* dialog = qobject_cast<frmDriveSelect*>(w);
            ASSERT_NE(dialog, nullptr) << qPrintable(w->objectName());
            dialog->Choose(folder);
            dialog->cmdDone()->click();
        };
    }

    TempDir tmp;
    QString good;
    QString other;
};

// A folder without the marker, and a drive letter (named in capitals): No ends the program.
TEST_F(DriveSelectionTest, MissingMarkerAsksForAnotherDriveAndNoEndsTheProgram) {
    const QString bare = tmp.path() + QStringLiteral("/bare");
    QDir().mkpath(bare);
    for (const auto& [stored, named] : {std::pair{bare, bare}, {QStringLiteral("f:"), "F:"}}) {
        SCOPED_TRACE(stored.toStdString());
        StoreFilePath(stored);
        messages.clear();
        messages.Answer(MsgAnswer::No);
        frmMainMenu w;
        EXPECT_FALSE(w.StartUp());
        EXPECT_TRUE(w.Ended());
        EXPECT_NE(w.ExitCode(), 0);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().text,
                  QStringLiteral("No test information found on drive ") + named +
                      QStringLiteral(", would you like to try another drive?"));
        EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);
        EXPECT_EQ(messages.last().title, "QVtest");
    }
    // A folder that is no data disk is left as it was: no client data file is made there.
    EXPECT_FALSE(QFileInfo::exists(bare + QStringLiteral("/DATA401.QV")));
    EXPECT_FALSE(Ini().contains(QStringLiteral("FilePath=") + good));
}

TEST_F(DriveSelectionTest, WriteProtectedDiskIsRetriedAfterOk) {
    StoreFilePath(good);
    // The disk cannot be written until the user "removes the protection" and answers OK.
    messages.OnShow([](const Message&) { fileio::ClearInjectedFailure(); });
    messages.Answer(MsgAnswer::Ok);
    frmMainMenu w;
    fileio::InjectWriteFailure(0, EROFS);
    ASSERT_TRUE(w.StartUp());
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_EQ(messages.last().text, "Data disk write protected!\n\nSet the data disk "
                                    "to writable and replace in drive.");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(messages.last().title, "Data Disk Error");
    EXPECT_EQ(w.lbNameDisplay()->count(), 3);
    EXPECT_FALSE(QFileInfo::exists(good + QStringLiteral("/checkWriteTest")));
    EXPECT_TRUE(Ini().contains(QStringLiteral("FilePath=") + good));
}

// A disk that fails to read says so (not "no test information"); OK tries again.
TEST_F(DriveSelectionTest, ADeviceErrorIsNamedAndRetriedAfterOk) {
    StoreFilePath(good);
    messages.OnShow([](const Message&) { fileio::ClearInjectedFailure(); });
    messages.Answer(MsgAnswer::Ok);
    frmMainMenu w;
    // Reads of the data disk fail; the configuration file is read as usual.
    fileio::SetCallHook([this](fileio::Op op, const QString& path) {
        if (op == fileio::Op::Read && path.startsWith(good))
            throw ErrorFromErrno(EIO, path, QStringLiteral("reading"));
    });
    ASSERT_TRUE(w.StartUp());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.startsWith("Data disk error!\n\nThe data disk reported a "
                                                "device error while reading "))
        << qPrintable(messages.last().text);
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(w.lbNameDisplay()->count(), 3);
}

TEST_F(DriveSelectionTest, DataDirOptionIsTriedFirstAndStored) {
    StoreFilePath(tmp.path() + QStringLiteral("/nowhere"));
    MainMenuOptions options;
    options.dataDir = other;
    frmMainMenu w(options);
    ASSERT_TRUE(w.StartUp());
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(w.lbNameDisplay()->count(), 1);
    EXPECT_TRUE(w.lbNameDisplay()->item(0)->text().startsWith("1-Client 7"));
    EXPECT_TRUE(Ini().contains(QStringLiteral("FilePath=") + other));
}

// Another program's disk: at start-up "Yes" opens the dialog; from the menu "No" reopens the
// disk in use, and nothing is stored.
TEST_F(DriveSelectionTest, WrongMarkerThenTryAgainOrKeepThePreviousDisk) {
    const QString foreign = tmp.path() + QStringLiteral("/foreign");
    WriteDataDisk(foreign, {SampleClient(9)});
    WriteFile(foreign + QStringLiteral("/TID"), QByteArrayLiteral("  XQ \r\n"));
    StoreFilePath(foreign);
    messages.Answer({MsgAnswer::Ok, MsgAnswer::Yes});
    ModalScript script;
    script.Then(ChooseAndDone(good));
    frmMainMenu w;
    ASSERT_TRUE(w.StartUp());
    EXPECT_EQ(messages.texts(), (QStringList{NotOurs, TryAgain}));
    EXPECT_EQ(messages.shown()[0].title, "Data Disk Error");
    EXPECT_EQ(messages.shown()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(script.remaining(), 0);
    EXPECT_EQ(Globals().DataPath, good);
    EXPECT_TRUE(Ini().contains(QStringLiteral("FilePath=") + good + QStringLiteral("\r\n")));
    EXPECT_EQ(w.lbNameDisplay()->count(), 3);
    const QString iniBefore = Ini();

    messages.clear();
    script.Then(ChooseAndDone(foreign));
    messages.Answer({MsgAnswer::Ok, MsgAnswer::No});
    w.mnuSelectDrive()->trigger();
    EXPECT_EQ(messages.texts(), (QStringList{NotOurs, TryAgain}));
    EXPECT_FALSE(w.Ended());
    EXPECT_EQ(Globals().DataPath, good);
    EXPECT_EQ(Globals().ClientCount, 3);
    ASSERT_EQ(w.lbNameDisplay()->count(), 3);
    EXPECT_TRUE(w.lbNameDisplay()->item(2)->text().startsWith("3-Client 3"));
    EXPECT_EQ(Ini(), iniBefore);

    // A good choice from the menu is stored and listed.
    messages.clear();
    script.Then(ChooseAndDone(other));
    w.mnuSelectDrive()->trigger();
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(w.lbNameDisplay()->count(), 1);
    EXPECT_TRUE(Ini().contains(QStringLiteral("FilePath=") + other));
    EXPECT_EQ(script.unexpected(), 0);
}

TEST_F(DriveSelectionTest, TooManyRecordsEndsTheStartUpWithTheGenericMessageTwice) {
    WriteDataDisk(good, SampleClients(52));
    StoreFilePath(good);
    const QByteArray before = ReadFile(good + QStringLiteral("/DATA401.QV"));
    frmMainMenu w;
    EXPECT_FALSE(w.StartUp());
    ASSERT_EQ(messages.shown().size(), 2u);
    for (const Message& m : messages.shown()) {
        EXPECT_TRUE(m.text.startsWith("Error 9:")) << qPrintable(m.text);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
    }
    EXPECT_EQ(ReadFile(good + QStringLiteral("/DATA401.QV")), before);
}

TEST_F(DriveSelectionTest, DiskPulledDuringTheSplashAsksForItAndRetries) {
    StoreFilePath(good);
    const QString away = good + QStringLiteral(".away");
    messages.OnShow([&](const Message&) { QDir().rename(away, good); });
    messages.Answer(MsgAnswer::Ok);
    // The first pending events run once the disk was accepted (the busy pointer lets them).
    QTimer::singleShot(0, [&] { QDir().rename(good, away); });
    frmMainMenu w;
    ASSERT_TRUE(w.StartUp());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              "Data disk not found!\n\nInsert data disk in drive A to continue.");
    EXPECT_EQ(messages.last().title, "Data Disk Error");
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(w.lbNameDisplay()->count(), 3);
}

// A folder path longer than 49 characters survives the save and the next start; one with a
// line break is refused at once and never reaches the configuration file.
TEST_F(DriveSelectionTest, ALongPathSurvivesARestartAMultiLineOneIsRefused) {
    const QString longDisk = tmp.path() + QStringLiteral("/court staff/USB STICK/screening/") +
                             QStringLiteral("juvenile services 2026");
    ASSERT_GT(longDisk.size(), 49);
    WriteDataDisk(longDisk, {SampleClient(5), SampleClient(6)});
    StoreFilePath(good);
    {
        MainMenuOptions options;
        options.dataDir = longDisk;
        frmMainMenu w(options);
        ASSERT_TRUE(w.StartUp());
    }
    {
        Globals() = GlobalState(); // as the program starts again
        Globals().ProgramDir = program.path();
        frmMainMenu restarted;
        ASSERT_TRUE(restarted.StartUp());
        EXPECT_TRUE(messages.shown().empty()) << qPrintable(messages.texts().join("|"));
        EXPECT_EQ(Globals().DataPath, longDisk);
        ASSERT_EQ(restarted.lbNameDisplay()->count(), 2);
        EXPECT_TRUE(restarted.lbNameDisplay()->item(0)->text().startsWith("1-Client 5"));
    }

    const QString twoLines = tmp.path() + QStringLiteral("/disk\n[Settings]\nNumLock=False");
    WriteDataDisk(twoLines, {SampleClient(9)});
    const QString iniBefore = Ini();
    messages.Answer({MsgAnswer::Ok, MsgAnswer::No});
    MainMenuOptions options;
    options.dataDir = twoLines;
    frmMainMenu w(options);
    EXPECT_FALSE(w.StartUp());
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[0].text.contains("its name holds a line break"))
        << qPrintable(messages.shown()[0].text);
    EXPECT_EQ(messages.last().text, TryAgain);
    EXPECT_EQ(Ini(), iniBefore);
}

// A disk whose client data file is a link elsewhere is not used: nothing would be written
// through it.
TEST_F(DriveSelectionTest, ALinkedClientDataFileIsRefused) {
    const QString real = tmp.path() + QStringLiteral("/real.QV");
    ASSERT_TRUE(QFile::rename(other + QStringLiteral("/DATA401.QV"), real));
    ASSERT_TRUE(QFile::link(real, other + QStringLiteral("/DATA401.QV")));
    const QByteArray before = ReadFile(real);
    StoreFilePath(other);
    messages.Answer({MsgAnswer::Ok, MsgAnswer::No});
    frmMainMenu w;
    EXPECT_FALSE(w.StartUp());
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[0].text.contains("DATA401.QV there is a symbolic link"))
        << qPrintable(messages.shown()[0].text);
    EXPECT_EQ(messages.last().text, TryAgain);
    EXPECT_EQ(ReadFile(real), before);
}

// A disk prepared by hand (a marker, no client data file) gets its empty client data file on
// acceptance; the write test leaves nothing, even on a full disk; scratch files of a comment
// save cut off by a crash are removed.
TEST_F(DriveSelectionTest, AcceptanceMakesTheClientFileAndLeavesNoScratchFiles) {
    const QString fresh = tmp.path() + QStringLiteral("/fresh");
    QDir().mkpath(fresh);
    WriteFile(fresh + QStringLiteral("/TID"), "QV\r\n");
    WriteFile(fresh + QStringLiteral("/.Comments.dat.new"), "every comment");
    WriteFile(fresh + QStringLiteral("/.Comments.dat.a1b2c3.tmp"), "every comment");
    StoreFilePath(fresh);
    {
        frmMainMenu w;
        ASSERT_TRUE(w.StartUp());
    }
    EXPECT_EQ(QDir(fresh).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"DATA401.QV", "TID"}));
    EXPECT_EQ(QFileInfo(fresh + QStringLiteral("/DATA401.QV")).size(), 0);
    EXPECT_EQ(QFile::permissions(fresh + QStringLiteral("/DATA401.QV")) & 0x0077, 0);

    StoreFilePath(good);
    fileio::InjectWriteFailure(2, ENOSPC);
    frmMainMenu w;
    w.StartUp();
    fileio::ClearInjectedFailure();
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_TRUE(messages.shown()[0].text.startsWith("Error 61:"))
        << qPrintable(messages.shown()[0].text);
    EXPECT_FALSE(QFileInfo::exists(good + QStringLiteral("/checkWriteTest")));
}

} // namespace
