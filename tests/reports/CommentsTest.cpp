// The comments file without its window; a failed write is tested through the window.
#include "scoring/Comments.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "store/Cp1252.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

TEST(SaveCommentTest, CutsAt300CharactersKeepsAccentsAndOnlyForStoredClients) {
    TempDir disk;
    WriteDataDisk(disk.path(), {SampleClient(1), SampleClient(2), SampleClient(3)});
    UseDataDisk(disk.path());
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

} // namespace
