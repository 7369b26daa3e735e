// The file layer under faults and tampering: links planted where scratch files go, files of
// any permissions, devices that fail part-way, files too large to read.
#include "app/FileIO.h"
#include "app/Errors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

void Chmod(const QString& path, int mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
}

void Link(const QString& target, const QString& link) {
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()),
              0);
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

class FileIOTest : public ::testing::Test {
protected:
    QString Victim() {
        const QString v = elsewhere.file("bashrc");
        WriteFile(v, "alias ls='ls --color'\n");
        return v;
    }
    TempDir dir;
    TempDir elsewhere;
};

// A link put where a scratch file of an earlier version went (".NAME.new", ".NAME.part") is
// removed, never written through; the scratch file itself gets a fresh name.
TEST_F(FileIOTest, ScratchNamesPlantedAsLinksAreNeverFollowed) {
    const QString victim = Victim();
    const QString data = dir.file("Comments.dat");
    const QString report = dir.file("report.prn");
    Link(victim, dir.file(".Comments.dat.new"));
    Link(victim, dir.file(".report.prn.part"));
    fileio::ReplaceAtomically(data, "all the comments");
    fileio::ReplaceScratch(report, "a confidential report");
    EXPECT_EQ(ReadFile(victim), "alias ls='ls --color'\n");
    EXPECT_EQ(ReadFile(data), "all the comments");
    EXPECT_EQ(ReadFile(report), "a confidential report");
    EXPECT_EQ(Entries(dir.path()), (QStringList{"Comments.dat", "report.prn"}));

    // A link in the report's own place is replaced, not followed.
    fileio::Remove(report);
    Link(victim, report);
    fileio::ReplaceScratch(report, "the next report");
    EXPECT_EQ(ReadFile(victim), "alias ls='ls --color'\n");
    EXPECT_FALSE(QFileInfo(report).isSymLink());
}

// Confidential files are never written through a link in their place: a write in place is
// refused, a replacement replaces the link. Settings are written through (the link stays,
// the file it names is replaced).
TEST_F(FileIOTest, LinkedConfidentialFilesAreNeverWrittenThroughLinkedSettingsAre) {
    const QString victim = Victim();
    const QString data = dir.file("DATA401.QV");
    Link(victim, data);
    const VError e = CaughtError([&] { fileio::WriteAt(data, 0, "x"); });
    EXPECT_EQ(e.number(), err::PathFileAccess);
    EXPECT_TRUE(e.description().contains("symbolic link")) << qPrintable(e.description());
    EXPECT_THROW(fileio::Append(data, "records"), VError);
    EXPECT_THROW(fileio::CreateNew(data, "records"), VError);
    EXPECT_EQ(ReadFile(victim), "alias ls='ls --color'\n");
    EXPECT_TRUE(QFileInfo(data).isSymLink());
    fileio::ReplaceAtomically(data, "records");
    EXPECT_FALSE(QFileInfo(data).isSymLink());
    EXPECT_EQ(ReadFile(data), "records");
    EXPECT_EQ(ReadFile(victim), "alias ls='ls --color'\n");

    const QString settings = elsewhere.file("qvtest.ini");
    WriteFile(settings, "[Settings]\r\n");
    Chmod(settings, 0644);
    Link(settings, dir.file("qvtest.ini"));
    fileio::ReplaceAtomically(dir.file("qvtest.ini"), "[Settings]\r\nNumLock=False\r\n", 0644);
    EXPECT_TRUE(QFileInfo(dir.file("qvtest.ini")).isSymLink());
    EXPECT_EQ(ReadFile(settings), "[Settings]\r\nNumLock=False\r\n");
    EXPECT_EQ(ModeOf(settings), 0644);
    EXPECT_TRUE(Entries(elsewhere.path()).contains("qvtest.ini"));
    EXPECT_EQ(Entries(elsewhere.path()).size(), 2);
}

TEST_F(FileIOTest, ConfidentialFilesEndOwnerOnlyWhateverModeTheyHad) {
    const QString data = dir.file("DATA401.QV");
    const QString comments = dir.file("Comments.dat");
    const QString report = dir.file("report.prn");
    const QString copy = dir.file("temp1");
    for (const QString& f : {data, comments, report, copy}) {
        WriteFile(f, QByteArray(195, ' '));
        Chmod(f, 0644);
    }
    fileio::WriteAt(data, 0, "Ann");
    fileio::ReplaceAtomically(comments, "comment");
    fileio::ReplaceScratch(report, "report");
    fileio::Copy(report, copy);
    for (const QString& f : {data, comments, report, copy})
        EXPECT_EQ(ModeOf(f), 0600) << qPrintable(f);
    Chmod(report, 0666);
    fileio::Append(report, "\f\r\n");
    EXPECT_EQ(ModeOf(report), 0600);

    // A settings file keeps what it had; a new one is readable by all.
    const QString ini = dir.file("qvtest.ini");
    fileio::ReplaceAtomically(ini, "[Path]\r\n", 0644);
    EXPECT_EQ(ModeOf(ini), 0644);
    Chmod(ini, 0640);
    fileio::ReplaceAtomically(ini, "[Path]\r\nFilePath=a:\r\n", 0644);
    EXPECT_EQ(ModeOf(ini), 0640);
}

// A device that fails after some bytes, and then on every call; renames, flushes and reads
// that fail. No failure is reported as success, and none leaves a scratch file.
TEST_F(FileIOTest, FailuresOfEveryKindAreReportedAndLeaveTheOldFile) {
    const QString file = dir.file("Comments.dat");
    fileio::ReplaceAtomically(file, "old comments");
    struct Case {
        fileio::Op op;
        int errnoValue;
        int number;
    };
    for (const Case& c :
         {Case{fileio::Op::Write, EIO, err::DeviceIO}, Case{fileio::Op::Sync, EIO, err::DeviceIO},
          Case{fileio::Op::Rename, EXDEV, err::PathFileAccess},
          Case{fileio::Op::Open, ENXIO, err::DiskNotReady}}) {
        fileio::InjectFailure(c.op, c.errnoValue);
        EXPECT_EQ(CaughtError([&] { fileio::ReplaceAtomically(file, "new comments"); }).number(),
                  c.number)
            << int(c.op);
        fileio::ClearInjectedFailure();
        EXPECT_EQ(ReadFile(file), "old comments");
        EXPECT_EQ(Entries(dir.path()), QStringList{"Comments.dat"});
    }

    // Writes fail after 4 bytes, then on every call.
    fileio::InjectWriteFailure(4, EIO);
    EXPECT_EQ(CaughtError([&] { fileio::WriteAt(file, 0, "NEW comments"); }).number(),
              err::DeviceIO);
    EXPECT_EQ(ReadFile(file), "NEW comments"); // what got there before the failure
    EXPECT_EQ(CaughtError([&] { fileio::WriteAt(file, 0, "x"); }).number(), err::DeviceIO);
    EXPECT_EQ(CaughtError([&] { fileio::Append(file, "x"); }).number(), err::DeviceIO);
    fileio::ClearInjectedFailure();

    fileio::InjectFailure(fileio::Op::Read, EIO, 1); // one read works, the next fails
    EXPECT_EQ(fileio::ReadAll(file), "NEW comments");
    const VError e = CaughtError([&] { fileio::ReadAt(file, 0, 3); });
    EXPECT_EQ(e.number(), err::DeviceIO);
    EXPECT_EQ(e.path(), file);
    EXPECT_EQ(e.action(), "reading");
    fileio::ClearInjectedFailure();

    // An undo that cannot cut the file back says so.
    fileio::InjectFailure(fileio::Op::Truncate, EIO);
    EXPECT_EQ(CaughtError([&] { fileio::Truncate(file, 3); }).number(), err::DeviceIO);
    fileio::ClearInjectedFailure();
    fileio::Truncate(file, 3);
    EXPECT_EQ(ReadFile(file), "NEW");
}

// The hook runs between any two calls: a file taken away or replaced there is noticed.
TEST_F(FileIOTest, AFileReplacedBetweenTwoCallsIsNotWritten) {
    const QString file = dir.file("DATA401.QV");
    WriteFile(file, "loaded");
    fileio::FileId id;
    fileio::ReadAll(file, fileio::DefaultReadLimit, &id);
    EXPECT_EQ(fileio::Inspect(file).id, id);
    // The loaded file stays (elsewhere), so its number cannot be given to the new one.
    fileio::SetCallHook([&](fileio::Op op, const QString&) {
        if (op == fileio::Op::Open) {
            QFile::rename(file, elsewhere.file("loaded"));
            WriteFile(file, "another disk");
        }
    });
    EXPECT_EQ(CaughtError([&] { fileio::WriteAt(file, 0, "X", &id); }).number(), err::DiskNotReady);
    fileio::ClearInjectedFailure();
    EXPECT_EQ(ReadFile(file), "another disk");
}

TEST_F(FileIOTest, FilesLargerThanTheirLimitAreNotRead) {
    const QString file = dir.file("QVB.TXT");
    WriteFile(file, QByteArray(300 * 1024, '7'));
    const VError e = CaughtError([&] { fileio::ReadAll(file, 256 * 1024); });
    EXPECT_EQ(e.number(), err::Overflow);
    EXPECT_EQ(e.description(), QStringLiteral("%1 is 300 KB, more than the 256 KB such a file can "
                                              "hold, so it was not read. Replace it with a file "
                                              "of the right kind.")
                                   .arg(file));
    EXPECT_EQ(fileio::ReadAll(file, 300 * 1024).size(), 300 * 1024);
    // A device that never ends is stopped at the limit too.
    EXPECT_EQ(CaughtError([] { fileio::ReadAll("/dev/zero", 1000); }).number(), err::Overflow);
}

TEST_F(FileIOTest, NewFilesAreCreatedExclusivelyAndScratchLeftoversRemoved) {
    const QString test = dir.file("checkWriteTest");
    fileio::CreateNew(test, "test\r\n");
    EXPECT_EQ(ModeOf(test), 0600);
    EXPECT_THROW(fileio::CreateNew(test), VError); // never replaces
    fileio::Remove(test);
    fileio::InjectWriteFailure(2, ENOSPC);
    EXPECT_EQ(CaughtError([&] { fileio::CreateNew(test, "test\r\n"); }).number(), err::DiskFull);
    fileio::ClearInjectedFailure();
    EXPECT_FALSE(QFile::exists(test)); // a failed creation leaves nothing

    for (const char* name : {".Comments.dat.new", ".Comments.dat.part", ".Comments.dat.k3x9q2.tmp",
                             ".Comments.dat.keep", "Comments.dat", ".DATA401.QV.new"})
        WriteFile(dir.file(name), "left over");
    fileio::RemoveScratchFiles(dir.file("Comments.dat"));
    EXPECT_EQ(Entries(dir.path()),
              (QStringList{".Comments.dat.keep", ".DATA401.QV.new", "Comments.dat"}));
}

} // namespace
