// The comments file without its window; a failed write is tested through the window.
#include "store/Comments.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

using SaveCommentTest = OnDataDisk;

TEST_F(SaveCommentTest, CutsAt300CharactersKeepsAccentsAndOnlyForStoredClients) {
    LoadDisk(3);
    Globals().CurrentClient = 4; // not stored: no comment, and no file made for it
    EXPECT_THROW(SaveComment(QStringLiteral("x")), VError);
    EXPECT_FALSE(fileio::Exists(disk.file("Comments.dat")));

    Globals().CurrentClient = 1;
    SaveComment(QStringLiteral("Señora Núñez ") + QString(600, QLatin1Char('x')));
    const QByteArray all = ReadFile(disk.file("Comments.dat"));
    ASSERT_EQ(all.size(), 900);
    EXPECT_EQ(cp1252::Decode(all.left(13)), "Señora Núñez ");
    EXPECT_EQ(all.mid(13, 287), QByteArray(287, 'x'));
    EXPECT_EQ(all.mid(300), QByteArray(600, ' ')); // no file before: blank comments
}

class CommentSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDataDisk(disk.file("stick"), {SampleClient(1), SampleClient(2)});
        UseDataDisk(disk.file("stick"));
        WriteFile(Comments(), QByteArray("Kept for client 1.").leftJustified(600, ' '));
        Globals().CurrentClient = 2;
    }
    QString Comments() const { return disk.file("stick/Comments.dat"); }
    TempDir disk;
    TempDir elsewhere;
};

// The disk leaves while the window is open: the save goes nowhere, in particular not into a
// new comments file under the empty mount point.
TEST_F(CommentSafetyTest, APulledDiskGetsNoCommentsFileAnywhere) {
    ASSERT_TRUE(QDir().rename(disk.file("stick"), disk.file("pulled")));
    ASSERT_TRUE(QDir().mkpath(disk.file("stick")));
    EXPECT_TRUE(IsDiskMissingError(CaughtError([] { SaveComment("Seen twice."); }).number()));
    EXPECT_TRUE(QDir(disk.file("stick")).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_FALSE(CommentReachedDisk("Seen twice."));
}

// Links on a tampered disk: the scratch name is never followed, a linked comments file is
// refused, and the files they point to keep what they had.
TEST_F(CommentSafetyTest, LinksOnTheDiskAreNeitherFollowedNorReplaced) {
    const QString victim = elsewhere.file("bashrc");
    WriteFile(victim, "alias ls='ls --color'\n");
    ASSERT_TRUE(QFile::link(victim, disk.file("stick/.Comments.dat.new")));
    SaveComment("Seen twice.");
    EXPECT_EQ(ReadFile(victim), "alias ls='ls --color'\n");
    EXPECT_EQ(ReadFile(Comments()).mid(300, 11), "Seen twice.");
    EXPECT_FALSE(QFileInfo::exists(disk.file("stick/.Comments.dat.new")));

    const QString real = elsewhere.file("Comments.dat");
    ASSERT_TRUE(QFile::rename(Comments(), real));
    ASSERT_TRUE(QFile::link(real, Comments()));
    const VError e = CaughtError([] { SaveComment("Seen three times."); });
    EXPECT_EQ(e.number(), err::PathFileAccess);
    EXPECT_TRUE(e.description().contains("symbolic link")) << qPrintable(e.description());
    EXPECT_TRUE(QFileInfo(Comments()).isSymLink());
    EXPECT_EQ(ReadFile(real).mid(300, 11), "Seen twice.");
}

} // namespace
