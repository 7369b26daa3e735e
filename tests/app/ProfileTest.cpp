// The configuration file as users and their administrators edit it by hand.
#include "app/Config.h"
#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "app/ProfileFile.h"
#include "app/StartUp.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::testing;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { Globals().ProgramDir = dir.path(); }
    void Ini(const QByteArray& text) { WriteFile(dir.file(QStringLiteral("qvtest.ini")), text); }
    QByteArray Ini() const { return ReadFile(dir.file(QStringLiteral("qvtest.ini"))); }

    TempDir dir;
};

TEST_F(ProfileTest, MissingFileGivesEveryDefaultAndIsCreatedByTheFirstWrite) {
    EXPECT_TRUE(ReadNumLockSetting());
    EXPECT_TRUE(ReadPrintDosSetting());
    EXPECT_EQ(ReadFilePath(), QStringLiteral("a:"));
    EXPECT_EQ(GetINISndPath(), QStringLiteral("c:"));
    EXPECT_FALSE(fileio::Exists(dir.file(QStringLiteral("qvtest.ini"))));
    WriteSystemDbSetting();
    EXPECT_EQ(Ini(),
              QStringLiteral("[Options]\r\nSystemDB=%1/korvex.mda\r\n").arg(dir.path()).toUtf8());
}

TEST_F(ProfileTest, BooleansAreTrueExactlyWhenTheyBeginWithTru) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true},  {"Tru", true},    {"Truthful", true}, {"true", false},
        {"TRUE", false}, {"False", false}, {"1", false},       {"Yes", false},
        {"", false},     {" True ", true}, {"\"True\"", true}, {"Tr", false},
    };
    for (const auto& [text, expected] : cases) {
        Ini(QByteArray("[Settings]\r\nNumLock=") + text + "\r\nPrintDOS=" + text + "\r\n");
        EXPECT_EQ(ReadNumLockSetting(), expected) << text;
        EXPECT_EQ(ReadPrintDosSetting(), expected) << text;
        EXPECT_EQ(Globals().PrintDOS, expected) << text;
    }
}

TEST_F(ProfileTest, PathsAreCutToFortyNineCharactersAndTrimmed) {
    const QString path49 = QStringLiteral("/media/") + QString(42, QLatin1Char('x'));
    Ini(QStringLiteral("[Path]\r\nFilePath=%1yz\r\nSndPath=   /srv/sound   \r\n")
            .arg(path49)
            .toUtf8());
    EXPECT_EQ(ReadFilePath(), path49);
    EXPECT_EQ(GetINISndPath(), QStringLiteral("/srv/sound"));
    Ini("[Path]\r\nFilePath=\r\n");
    EXPECT_EQ(ReadFilePath(), QString());
    // A value whose 49th character is a blank loses it too.
    Ini(QStringLiteral("[Path]\r\nFilePath=%1 z\r\n").arg(path49.left(48)).toUtf8());
    EXPECT_EQ(ReadFilePath(), path49.left(48));
}

TEST_F(ProfileTest, HandEditedFilesWithOddSpacingAndCase) {
    Ini("; settings for the screening room\n"
        "  [ path ]  \n"
        "filepath   =   /media/usb \n"
        "\n"
        "[SETTINGS]\n"
        "\tnumlock= False\n"
        "PrintDos =True\n"
        "[Path]\n"
        "SndPath=/second/section\n");
    EXPECT_EQ(ReadFilePath(), QStringLiteral("/media/usb"));
    EXPECT_FALSE(ReadNumLockSetting());
    EXPECT_TRUE(ReadPrintDosSetting());
    EXPECT_EQ(GetINISndPath(), QStringLiteral("/second/section"));
    // A key outside its section does not count.
    Ini("NumLock=False\n[Settings]\n");
    EXPECT_TRUE(ReadNumLockSetting());
}

TEST_F(ProfileTest, AWriteKeepsEveryOtherLineAndTheLineEnds) {
    const QByteArray before = "; keep this comment\n"
                              "[Options]\n"
                              "SystemDB=/old/korvex.mda\n"
                              "\n"
                              "[Settings]\n"
                              "NUMLOCK = True\n"
                              "PrintDOS=False\n"
                              "; trailing note\n"
                              "[Custom]\n"
                              "Other=1\n";
    Ini(before);
    WriteNumLockSetting(false);
    QByteArray expected = before;
    expected.replace("NUMLOCK = True", "NumLock=False");
    EXPECT_EQ(Ini(), expected);

    WriteFilePath(QStringLiteral("/media/disk"));
    EXPECT_EQ(Ini(), expected + "[Path]\nFilePath=/media/disk\n");
    WriteFilePath(QStringLiteral("/media/other"));
    EXPECT_EQ(ReadFilePath(), QStringLiteral("/media/other"));
    EXPECT_EQ(Ini().count("FilePath="), 1);

    // A key new to an existing section goes after that section's last key.
    Ini("[Settings]\r\nNumLock=True\r\n\r\n[Path]\r\nFilePath=a:\r\n");
    WritePrintDosSetting(false);
    const QByteArray written =
        "[Settings]\r\nNumLock=True\r\nPrintDOS=False\r\n\r\n[Path]\r\nFilePath=a:\r\n";
    EXPECT_EQ(Ini(), written);
    EXPECT_FALSE(Globals().PrintDOS);

    // A failed write leaves the file as it was.
    fileio::InjectWriteFailure(5, ENOSPC);
    EXPECT_THROW(WriteNumLockSetting(false), VError);
    fileio::ClearInjectedFailure();
    EXPECT_EQ(Ini(), written);
    EXPECT_TRUE(ReadNumLockSetting());
}

// A folder path longer than the old 49 characters is stored in quotes and read back whole;
// a plain value in an older file still reads as it always did (cut, trimmed).
TEST_F(ProfileTest, LongPathsReadBackWholeOldFilesReadAsBefore) {
    const QString longPath =
        QStringLiteral("/media/court-staff/USB STICK/screening/juvenile-services-2026");
    ASSERT_GT(longPath.size(), 49);
    WriteFilePath(longPath);
    EXPECT_EQ(Ini(), QStringLiteral("[Path]\r\nFilePath=\"%1\"\r\n").arg(longPath).toUtf8());
    EXPECT_EQ(ReadFilePath(), longPath);
    WriteFilePath(QStringLiteral("/media/usb"));
    EXPECT_EQ(Ini(), "[Path]\r\nFilePath=/media/usb\r\n");
    // A short path that begins and ends with quotes keeps them.
    WriteFilePath(QStringLiteral("\"quoted\""));
    EXPECT_EQ(ReadFilePath(), QStringLiteral("\"quoted\""));

    Ini(QStringLiteral("[Path]\r\nFilePath=%1\r\n").arg(longPath).toUtf8());
    EXPECT_EQ(ReadFilePath(), longPath.left(49).trimmed());
}

// A value with a line break would write lines of its own: "NumLock=False" smuggled in a
// folder name must not take effect. Nothing is written.
TEST_F(ProfileTest, ValuesWithLineBreaksAreRefusedAndNothingIsWritten) {
    Ini("[Settings]\r\nNumLock=True\r\n");
    const QString injected = QStringLiteral("/media/x\r\n[Settings]\r\nNumLock=False");
    const VError e = CaughtError([&] { WriteFilePath(injected); });
    EXPECT_EQ(e.number(), err::BadFileName);
    EXPECT_TRUE(e.description().contains("line break")) << qPrintable(e.description());
    EXPECT_FALSE(e.description().contains(QLatin1Char('\n')));
    EXPECT_THROW(profile::WriteString(IniFilePath(), "Settings", "NumLock", "False\nX=1"), VError);
    EXPECT_EQ(Ini(), "[Settings]\r\nNumLock=True\r\n");
    EXPECT_TRUE(ReadNumLockSetting());

    for (const QString& bad : {QStringLiteral("/media/usb "), QStringLiteral(" /media/usb"),
                               QStringLiteral("/media/Дмитрий"), QStringLiteral("/media/\tx")})
        EXPECT_FALSE(FilePathProblem(bad).isEmpty()) << qPrintable(bad);
    EXPECT_TRUE(FilePathProblem(QStringLiteral("/media/José/") + QString(200, u'x')).isEmpty());
}

// A configuration file far too large to be one is not read: every setting takes its default
// at once, and the start-up says why.
TEST_F(ProfileTest, AnOversizedFileIsNotReadAndTheStartUpSaysSo) {
    QByteArray huge = "[Settings]\r\nNumLock=False\r\n";
    huge += QByteArray(int(profile::MaxFileSize), ';');
    Ini(huge);
    EXPECT_TRUE(ReadNumLockSetting());
    EXPECT_EQ(ReadFilePath(), "a:");
    EXPECT_THROW(WriteNumLockSetting(true), VError);
    EXPECT_EQ(Ini().size(), huge.size());
    ScriptedMessages messages;
    ConfigureDatabaseLayer();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains("qvtest.ini is 257 KB, more than the 256 KB"))
        << qPrintable(messages.last().text);
    EXPECT_TRUE(messages.last().text.endsWith("Every setting takes its default value for now."));
}

} // namespace
