// The running copy's lock and socket: only in a folder no other user can write.
#include "main/SingleInstance.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace varenta;
using namespace varenta::testing;
using varenta::main::SingleInstance;

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    TempDir home;
    QString shared = home.file(QStringLiteral("tmp"));
    QString cache = home.file(QStringLiteral("cache"));
    ScopedEnv cacheEnv{"XDG_CACHE_HOME", cache};
    QString key = QStringLiteral("varenta-test");

    void SetUp() override {
        QDir().mkpath(shared);
        ::chmod(QFile::encodeName(shared).constData(), 01777); // as /tmp
    }
};

} // namespace

// With no private runtime folder, names another user made first in a shared folder are
// never used, nor is a link at the lock's name followed.
TEST_F(SingleInstanceTest, NamesInASharedFolderOrBehindALinkAreNeverUsed) {
    const QString victim = home.file(QStringLiteral("victim"));
    WriteFile(victim, "precious");
    ASSERT_TRUE(QFile::link(victim, shared + "/" + key + ".lock"));
    for (const QString& runtime : {QString(), shared}) {
        ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", runtime);
        SingleInstance first(key);
        EXPECT_EQ(SingleInstance::RuntimeFolder(), cache + QStringLiteral("/varenta"));
        ASSERT_TRUE(first.Acquire());
        EXPECT_TRUE(first.socketPath().startsWith(cache + QStringLiteral("/varenta/")));
        EXPECT_TRUE(QFileInfo::exists(first.socketPath() + QStringLiteral(".lock")));
        SingleInstance second(key);
        EXPECT_FALSE(second.Acquire());
    }
    EXPECT_EQ(ModeOf(cache + "/varenta"), 0700);
    EXPECT_EQ(ReadFile(victim), QByteArray("precious"));
    EXPECT_EQ(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              QStringList{key + ".lock"});

    // A link in the private folder itself (left by anyone) is not followed either: the program
    // runs, unguarded, and the file behind it stays as it was.
    const QString lock = cache + "/varenta/" + key + ".lock";
    QFile::remove(lock);
    ASSERT_TRUE(QFile::link(victim, lock));
    SingleInstance linked(key);
    EXPECT_TRUE(linked.Acquire());
    EXPECT_EQ(ReadFile(victim), QByteArray("precious"));
    EXPECT_TRUE(QFileInfo(lock).isSymLink());
}

// A private folder made by someone else (only root can, here) is not trusted.
TEST_F(SingleInstanceTest, FolderOfAnotherUserIsNotUsed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    const QString folder = cache + QStringLiteral("/varenta");
    QDir().mkpath(folder);
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
    ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", QString());
    SingleInstance instance(key);
    EXPECT_TRUE(instance.Acquire()); // the program still runs
    EXPECT_TRUE(QDir(folder).isEmpty());
}
