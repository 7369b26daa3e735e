#include "store/SaveWithRetry.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace varenta;
using namespace varenta::testing;

namespace {

class SaveWithRetryTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDataDisk(disk.path(), {SampleClient(1), SampleClient(2)});
        UseDataDisk(disk.path());
        Globals().Clients[3] = SampleClient(3);
    }
    QByteArray data() const { return ReadFile(Globals().DataFilePath); }
    TempDir disk;
    ScriptedMessages messages;
};

TEST_F(SaveWithRetryTest, MissingDiskAsksAndRetries) {
    fileio::InjectWriteFailure(0, ENXIO);
    messages.OnShow([](const Message&) { fileio::ClearInjectedFailure(); }); // disk put back
    messages.Answer(MsgAnswer::Ok);
    EXPECT_TRUE(SaveClientWithRetry(3));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, QStringLiteral("Data Disk Error"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("Data disk not found!\n\nInsert data disk in drive A to continue."));
    EXPECT_EQ(messages.last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(data().size(), 3 * 195);
}

TEST_F(SaveWithRetryTest, WriteProtectedDiskGivenUpLeavesFileUnchanged) {
    const QByteArray before = data();
    fileio::InjectWriteFailure(0, EROFS);
    messages.Answer({MsgAnswer::Ok, MsgAnswer::Cancel});
    EXPECT_FALSE(SaveClientWithRetry(3));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Data disk write protected!")));
    EXPECT_EQ(data(), before);
}

TEST_F(SaveWithRetryTest, HalfWrittenNewRecordIsCutOff) {
    const QByteArray before = data();
    fileio::InjectWriteFailure(120, ENOSPC); // enough to count as a record when read back
    EXPECT_FALSE(SaveClientWithRetry(3));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Error 61:")))
        << qPrintable(messages.last().text);
    EXPECT_EQ(data(), before);
    LoadClients();
    EXPECT_EQ(Globals().ClientCount, 2);
}

TEST_F(SaveWithRetryTest, RealReadOnlyFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    ::chmod(QFile::encodeName(Globals().DataFilePath).constData(), 0400);
    EXPECT_FALSE(SaveClientWithRetry(1));
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("Data disk write protected!")));
}

} // namespace
