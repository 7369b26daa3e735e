// The waves spoken at build time: every sound the test can ask for is there, and each is a
// real recording of a plausible length, in a format any wave player takes.
#include "administration/Audio.h"
#include "administration/PresentationItems.h"
#include "administration/QuestionDb.h"
#include "app/FileIO.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>

#include <gtest/gtest.h>

namespace varenta {
namespace {

struct WaveInfo {
    bool pcm16Mono = false;
    int rate = 0;
    double seconds = 0;
};

// Reads the header of a RIFF wave: its format chunk and the length of its data chunk.
WaveInfo ReadWave(const QString& path) {
    const QByteArray b = testing::ReadFile(path);
    WaveInfo info;
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE")
        return info;
    int pos = 12, channels = 0, bits = 0, format = 0;
    while (pos + 8 <= b.size()) {
        const QByteArray id = b.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(b.constData() + pos + 4);
        if (id == "fmt " && pos + 24 <= b.size()) {
            format = qFromLittleEndian<quint16>(b.constData() + pos + 8);
            channels = qFromLittleEndian<quint16>(b.constData() + pos + 10);
            info.rate = int(qFromLittleEndian<quint32>(b.constData() + pos + 12));
            bits = qFromLittleEndian<quint16>(b.constData() + pos + 22);
        } else if (id == "data" && info.rate > 0) {
            const qint64 bytes = std::min<qint64>(size, b.size() - pos - 8);
            info.seconds = double(bytes) / (info.rate * 2.0);
            break;
        }
        pos += 8 + int(size) + int(size & 1);
    }
    info.pcm16Mono = format == 1 && channels == 1 && bits == 16;
    return info;
}

QString Sox(const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("sox"), args);
    if (!p.waitForFinished(30000))
        return QString();
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

    for (auto it = needed.cbegin(); it != needed.cend(); ++it) {
        const WaveInfo w = ReadWave(it.key());
        const std::string name = it.key().toStdString();
        EXPECT_TRUE(w.pcm16Mono) << name;
        EXPECT_GE(w.rate, 8000) << name;
        // Spoken at about two and a half words a second, with some silence either side.
        const int words = it.value();
        EXPECT_GT(w.seconds, 0.25) << name;
        if (words > 0) {
            EXPECT_GT(w.seconds, words * 0.15) << name << " " << words << " words";
            EXPECT_LT(w.seconds, words * 1.0 + 2.0) << name << " " << words << " words";
        }
    }

    // A second opinion from sox on a few: the format it reads, and sound rather than silence.
    const QString folder = SoundFolder(program, language);
    for (const QString& path :
         {audio.WavePath("Inst0.wav"), audio.WavePath("T"), audio.WavePath("F"),
          audio.WavePath(items[0].questionAudio + ".wav"),
          audio.WavePath(items[115].choiceAudio[0] + ".wav")}) {
        ASSERT_TRUE(path.startsWith(folder)) << path.toStdString();
        const QString info = Sox({QStringLiteral("--i"), path});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Channels\\s*:\\s*1"))))
            << info.toStdString();
        EXPECT_TRUE(info.contains("16-bit Signed Integer PCM")) << info.toStdString();
        const QString stat = Sox({path, QStringLiteral("-n"), QStringLiteral("stat")});
        const auto m =
            QRegularExpression(QStringLiteral("RMS\\s+amplitude:\\s*([0-9.]+)")).match(stat);
        ASSERT_TRUE(m.hasMatch()) << stat.toStdString();
        EXPECT_GT(m.captured(1).toDouble(), 0.01) << path.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Waves, ::testing::Values("English", "Spanish"));

} // namespace
} // namespace varenta
