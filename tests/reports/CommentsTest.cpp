#include "scoring/Comments.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "reports/ProgramFiles.h"
#include "scoring/ScoreAndPrint.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::testing;

namespace {

class SaveCommentTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDataDisk(disk.path(), {SampleClient(1), SampleClient(2), SampleClient(3)});
        UseDataDisk(disk.path());
    }
    QByteArray file() const { return ReadFile(disk.file("Comments.dat")); }
    static QByteArray Record(const QByteArray& text) {
        return text + QByteArray(300 - text.size(), ' ');
    }
    TempDir disk, program;
};

TEST_F(SaveCommentTest, CutsLongTextAt300CharactersAndKeepsAccents) {
    Globals().CurrentClient = 1;
    SaveComment(QStringLiteral("Señora Núñez ") + QString(600, QLatin1Char('x')));
    const QByteArray all = file();
    ASSERT_EQ(all.size(), 900);
    EXPECT_EQ(cp1252::Decode(all.left(13)), QStringLiteral("Señora Núñez "));
    EXPECT_EQ(all.mid(13, 287), QByteArray(287, 'x'));
    EXPECT_EQ(all.mid(300), QByteArray(600, ' ')); // no file before: blank comments
}

TEST_F(SaveCommentTest, AFailedWriteLeavesTheOldFileWhole) {
    Globals().CurrentClient = 2;
    SaveComment(QStringLiteral("First comment."));
    const QByteArray before = file();
    for (const int e : {ENOSPC, EIO}) {
        fileio::InjectWriteFailure(450, e);
        EXPECT_THROW(SaveComment(QStringLiteral("Second comment.")), VError);
        fileio::ClearInjectedFailure();
        EXPECT_EQ(file(), before);
        EXPECT_EQ(CommentText(2), QStringLiteral("First comment."));
    }
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), 3)
        << "no half-written file is left beside the old one";
}

TEST_F(SaveCommentTest, AClientThatIsNotStoredCannotGetAComment) {
    Globals().CurrentClient = 4;
    EXPECT_THROW(SaveComment(QStringLiteral("x")), VError);
    EXPECT_FALSE(fileio::Exists(disk.file("Comments.dat")));
}

} // namespace
