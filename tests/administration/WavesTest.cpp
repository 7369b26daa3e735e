// The waves spoken at build time: every sound the test can ask for is there, and sox finds each
// a real recording of a plausible length, in a format any wave player takes.
#include "administration/Audio.h"
#include "administration/PresentationItems.h"
#include "administration/QuestionDb.h"
#include "app/FileIO.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace varenta::administration {
namespace {

QString Sox(const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("sox"), args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAll());
}

int Words(const QString& text) {
    return int(text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).size());
}

class Waves : public ::testing::TestWithParam<const char*> {};

TEST_P(Waves, EverySoundOfTheTestIsARealRecording) {
    const QString language = QString::fromLatin1(GetParam());
    const QString program = testing::BuiltProgramDir();
    QuestionDb db(fileio::Join(program, QStringLiteral("qv32.mdb")));
    const auto items = PresentedItemsFrom(db.OpenTable(language));
    db.Close();

    // Only whether each file is there counts here; no device is opened.
    WaveAudio audio(nullptr, program, language);
    QMap<QString, int> needed; // wave path -> words it should say (0: not checked)
    for (const char* inst : {"Inst0.wav", "Inst1.wav", "Inst2.wav", "Inst3.wav"})
        needed[audio.WavePath(QString::fromLatin1(inst))] = 0;
    for (const auto& item : items) {
        const QString q = audio.WavePath(item.questionAudio + QStringLiteral(".wav"));
        EXPECT_FALSE(q.isEmpty()) << item.questionAudio.toStdString();
        needed[q] = Words(item.statement);
        for (int k = 0; k < 5; ++k) {
            if (item.answers[k].isEmpty())
                continue;
            const QString a = audio.WavePath(item.choiceAudio[k].trimmed() + ".wav");
            EXPECT_FALSE(a.isEmpty()) << item.id << " answer " << k + 1;
            needed[a] = Words(item.answers[k]);
        }
    }
    for (const char* shared : {"Y", "N"})
        EXPECT_FALSE(audio.WavePath(QString::fromLatin1(shared)).isEmpty()) << shared;
    needed.remove(QString());
    ASSERT_GE(needed.size(), 116 + 4);

    // What sox reads of every file: one line per file for each question asked.
    const QStringList files = needed.keys();
    const auto info = [&](const char* option) {
        return Sox(QStringList{QStringLiteral("--i"), option} + files)
            .split(u'\n', Qt::SkipEmptyParts);
    };
    const QStringList channels = info("-c"), bits = info("-b"), encoding = info("-e"),
                      rate = info("-r"), seconds = info("-D");
    for (const QStringList* info : {&channels, &bits, &encoding, &rate, &seconds})
        ASSERT_EQ(info->size(), files.size()) << info->join(u'|').toStdString();
    for (int i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].toStdString());
        EXPECT_EQ(channels[i] + " " + bits[i] + " " + encoding[i], "1 16 Signed Integer PCM");
        EXPECT_GE(rate[i].toInt(), 8000);
        // Plain PCM (format tag 1), which any wave player takes.
        EXPECT_EQ(testing::ReadFile(files[i]).mid(20, 2), QByteArray("\x01\x00", 2));
        // Spoken at about two and a half words a second, with some silence either side.
        const double length = seconds[i].toDouble();
        const int words = needed[files[i]];
        EXPECT_GT(length, 0.25);
        if (words > 0) {
            EXPECT_GT(length, words * 0.15) << words << " words";
            EXPECT_LT(length, words * 1.0 + 2.0) << words << " words";
        }
    }

    // Sound rather than silence, on a few.
    const QString folder = SoundFolder(program, language);
    for (const QString& path :
         {audio.WavePath("Inst0.wav"), audio.WavePath("T"), audio.WavePath("F"),
          audio.WavePath(items[0].questionAudio + ".wav"),
          audio.WavePath(items[115].choiceAudio[0] + ".wav")}) {
        ASSERT_TRUE(path.startsWith(folder)) << path.toStdString();
        const QString stat = Sox({path, QStringLiteral("-n"), QStringLiteral("stat")});
        const auto m =
            QRegularExpression(QStringLiteral("RMS\\s+amplitude:\\s*([0-9.]+)")).match(stat);
        ASSERT_TRUE(m.hasMatch()) << stat.toStdString();
        EXPECT_GT(m.captured(1).toDouble(), 0.01) << path.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Waves, ::testing::Values("English", "Spanish"));

} // namespace
} // namespace varenta::administration
