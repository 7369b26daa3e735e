#include "ui/ShellOptions.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace varenta::testing;
using namespace varenta::ui;

namespace {

TEST(ShellOptions, FoldersComeBackAbsoluteWithoutTrailingSlash) {
    TempDir dir;
    const ShellOptions o =
        ParseShellOptions({QStringLiteral("--program-dir"), dir.path() + QStringLiteral("/"),
                           QStringLiteral("--data-dir=") + dir.path() + QStringLiteral("/disk/"),
                           QStringLiteral("--administrator")});
    EXPECT_EQ(o.programDir, dir.path());
    EXPECT_EQ(o.dataDir, dir.path() + QStringLiteral("/disk")); // need not exist yet
    EXPECT_TRUE(o.administrator);
    const ShellOptions relative =
        ParseShellOptions({QStringLiteral("--data-dir"), QStringLiteral("disk")});
    EXPECT_EQ(relative.dataDir, QDir::current().absoluteFilePath(QStringLiteral("disk")));
}

TEST(ShellOptions, NoOptionsMeanTheStoredDisk) {
    const ShellOptions o = ParseShellOptions({});
    EXPECT_TRUE(o.dataDir.isNull());
    EXPECT_TRUE(o.programDir.isEmpty());
    EXPECT_FALSE(o.administrator);
}

TEST(ShellOptions, RefusesWhatItDoesNotKnow) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("--data-dir")},
          QStringList{QStringLiteral("--data-dir"), QStringLiteral("--administrator")},
          QStringList{QStringLiteral("--program-dir"), QStringLiteral("/no/such/folder")},
          QStringList{QStringLiteral("--administrator=yes")},
          QStringList{QStringLiteral("file.txt")}}) {
        EXPECT_THROW(ParseShellOptions(args), ShellOptionsError)
            << qPrintable(args.join(QLatin1Char(' ')));
    }
}

} // namespace
