#include "administration/Audio.h"

#include "PresentationFakes.h"
#include "app/Errors.h"
#include "app/Messages.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace varenta::administration {
namespace {

using testing::FakeWaveDevice;

class WaveAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = SoundFolder(tmp.path(), QStringLiteral("English"));
        QDir().mkpath(folder);
        for (const char* name : {"True.wav", "FALSE.WAV", "yes.wav", "No.wav", "e001.wav"})
            testing::WriteFile(folder + "/" + name, "RIFF");
        audio.InitAudio();
    }
    testing::TempDir tmp;
    QString folder;
    ScriptedMessages messages;
    FakeWaveDevice device;
    WaveAudio audio{&device, tmp.path(), QStringLiteral("English")};
};

TEST_F(WaveAudioTest, NamesResolveInTheSoundFolderWithoutRegardToCase) {
    EXPECT_EQ(folder, tmp.path() + "/QVTEST/sound/English");
    ASSERT_TRUE(audio.SoundOn());
    // Shared answers by letter, with or without the extension the tables add.
    const std::pair<const char*, const char*> cases[] = {
        {"T", "True.wav"},   {" t.wav", "True.wav"},   {"F.wav", "FALSE.WAV"},   {"y", "yes.wav"},
        {"N.WAV", "No.wav"}, {"E001.wav", "e001.wav"}, {"E001.wav ", "e001.wav"}};
    for (auto [name, file] : cases)
        EXPECT_EQ(audio.WavePath(name), folder + "/" + file) << name;
    // Nothing to play: no name, a name the folder lacks, a name reaching outside it.
    for (const char* name : {"", ".wav", "  ", "E002.wav", "../English/e001.wav", ".."})
        EXPECT_EQ(audio.WavePath(name), "") << name;
}

TEST_F(WaveAudioTest, EachSoundCutsOffThePreviousOne) {
    audio.PlayWave("e001.wav");
    audio.PlayWave("T.wav");
    audio.PlayWave("missing.wav"); // stops the sound, plays nothing
    audio.StopSound();
    EXPECT_EQ(device.events, (QStringList{"play e001.wav", "close", "play True.wav", "close"}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(WaveAudioTest, QuietFailuresAreNotShownOthersOnceAndAFailedOpenLeavesSoundOff) {
    for (int n : {err::BadFileName, err::FileNotFound, err::DeviceIO, err::PathFileAccess,
                  err::PathNotFound})
        device.Fail({n, ErrorDescription(n)});
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(audio.SoundOn());

    device.Fail({snd::InvalidFileFormat, QStringLiteral("Invalid file format")});
    device.Fail({snd::InvalidFileFormat, QStringLiteral("Invalid file format")});
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().title, "Sound Error");
    EXPECT_EQ(messages.last().text, "Error 321:Invalid file format");
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(audio.SoundOn()); // the test goes on with sound

    // A device that goes away turns sound off without a word.
    device.Fail({snd::DeviceUnavailable, QStringLiteral("Device unavailable")});
    EXPECT_FALSE(audio.SoundOn());
    audio.PlayWave("e001.wav");
    EXPECT_EQ(device.played.size(), 0);
    EXPECT_EQ(messages.shown().size(), 1u);

    // A device that cannot open leaves sound off: quietly, or with an unexpected reason shown.
    FakeWaveDevice closed;
    closed.openOk = false;
    WaveAudio off(&closed, tmp.path(), QStringLiteral("English"));
    off.InitAudio();
    EXPECT_FALSE(off.SoundOn());
    EXPECT_EQ(messages.shown().size(), 1u);
    closed.openFailure = {5, QStringLiteral("Invalid procedure call")};
    off.InitAudio();
    EXPECT_FALSE(off.SoundOn());
    EXPECT_EQ(messages.texts().mid(1), QStringList{"Error 5:Invalid procedure call"});
    off.PlayWave("T");
    EXPECT_TRUE(closed.events.isEmpty());
    WaveAudio none(nullptr, tmp.path(), QStringLiteral("Spanish"));
    none.InitAudio();
    none.PlayWave("T");
    EXPECT_FALSE(none.SoundOn());
}

} // namespace
} // namespace varenta::administration
