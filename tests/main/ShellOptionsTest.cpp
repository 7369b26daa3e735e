#include "main/ShellOptions.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::main;
using varenta::testing::TempDir;

namespace {

QString Refusal(const QStringList& args) {
    try {
        ParseShellOptions(args);
    } catch (const ShellOptionsError& e) {
        return e.message;
    }
    return QStringLiteral("(accepted)");
}

} // namespace

TEST(ShellOptions, FoldersComeBackAbsoluteAndBothSpellingsOfAValueWork) {
    TempDir dir;
    const ShellOptions o =
        ParseShellOptions({QStringLiteral("--program-dir"), dir.path() + QStringLiteral("/"),
                           QStringLiteral("--data-dir=") + dir.path() + QStringLiteral("/sub/.."),
                           QStringLiteral("--administrator")});
    EXPECT_EQ(o.programDir, dir.path());
    EXPECT_EQ(o.dataDir, dir.path());
    EXPECT_TRUE(o.administrator);
    EXPECT_FALSE(o.help);
    EXPECT_TRUE(ParseShellOptions({QStringLiteral("-h")}).help);
    EXPECT_TRUE(ParseShellOptions({QStringLiteral("--version")}).version);
}

TEST(ShellOptions, EachMistakeIsNamedAsTyped) {
    EXPECT_EQ(Refusal({QStringLiteral("--program-dir")}), "option --program-dir needs a folder");
    EXPECT_EQ(Refusal({QStringLiteral("--program-dir"), QStringLiteral("--data-dir"),
                       QStringLiteral("/tmp")}),
              "option --program-dir needs a folder");
    EXPECT_EQ(Refusal({QStringLiteral("--data-dir=")}), "option --data-dir needs a folder");
    EXPECT_EQ(Refusal({QStringLiteral("--program-dir"), QStringLiteral("/no/such/folder")}),
              "program folder \"/no/such/folder\" does not exist");
    EXPECT_EQ(Refusal({QStringLiteral("--bogus")}), "unknown option --bogus");
    EXPECT_EQ(Refusal({QStringLiteral("-x")}), "unknown option -x");
    EXPECT_EQ(Refusal({QStringLiteral("--administrator=1")}), "unknown option --administrator=1");
    EXPECT_EQ(Refusal({QStringLiteral("stray")}), "unexpected argument \"stray\"");
}
