#pragma once

// Hand-made items and a sound device that records what it was asked to play, shared by the
// presentation's logic and window tests.
#include "administration/Audio.h"
#include "administration/Presentation.h"
#include "app/FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <ostream>
#include <vector>

// Readable failure output for texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace varenta::testing {

class FakeWaveDevice : public administration::WaveDevice {
public:
    bool Open(administration::SoundFailure* failure) override {
        if (!openOk && failure)
            *failure = openFailure;
        return openOk;
    }
    void Play(const QString& path) override {
        played << QFileInfo(path).fileName();
        paths << path;
        events << QStringLiteral("play ") + QFileInfo(path).fileName();
    }
    void Close() override { events << QStringLiteral("close"); }
    void Fail(const administration::SoundFailure& f) { ReportFailure(f); }

    QString last() const { return played.isEmpty() ? QString() : played.last(); }

    bool openOk = true;
    administration::SoundFailure openFailure{administration::snd::DeviceUnavailable,
                                             QStringLiteral("Device unavailable")};
    QStringList played; // file names, in order
    QStringList paths;
    QStringList events; // plays and closes, in order
};

// The whole test in the shape the question tables have: true/false items, then frequency
// items, then numbered items with three or four answers. `prefix` names the statement waves.
inline std::vector<administration::PresentedItem>
MakeItems(const QString& prefix = QStringLiteral("E")) {
    std::vector<administration::PresentedItem> items;
    for (int id = 1; id <= 116; ++id) {
        administration::PresentedItem it;
        it.id = id;
        it.statement = QStringLiteral("Statement number %1").arg(id);
        it.questionAudio = QStringLiteral("%1%2").arg(prefix).arg(id, 3, 10, QLatin1Char('0'));
        if (id <= 63) {
            it.answers = {QStringLiteral("True"), QStringLiteral("False")};
            it.choiceAudio = {QStringLiteral("T"), QStringLiteral("F")};
        } else if (id <= 97) {
            it.answers = {QStringLiteral("Rare or Never"), QStringLiteral("Sometimes"),
                          QStringLiteral("Often"), QStringLiteral("Very Often or Always")};
            it.choiceAudio = {QStringLiteral("Freq1"), QStringLiteral("Freq2"),
                              QStringLiteral("Freq3"), QStringLiteral("Freq4")};
        } else {
            const int n = id % 2 ? 3 : 4;
            for (int k = 0; k < n; ++k) {
                it.answers[k] = QStringLiteral("Answer %1 of item %2").arg(k + 1).arg(id);
                it.choiceAudio[k] = QStringLiteral("A%1_%2").arg(id).arg(k + 1);
            }
        }
        items.push_back(it);
    }
    return items;
}

// Creates (empty) wave files for every name the items and instructions use under
// sndPath/QVTEST/sound/<language>/, in lower case so lookups must ignore case.
inline void MakeSoundFolder(const QString& sndPath, const QString& language,
                            const std::vector<administration::PresentedItem>& items) {
    const QString folder = administration::SoundFolder(sndPath, language);
    QDir().mkpath(folder);
    QStringList names{"Inst0", "Inst1", "Inst2", "Inst3", "True", "False", "Yes", "No"};
    for (const auto& it : items) {
        names << it.questionAudio;
        for (const auto& a : it.choiceAudio)
            if (a.size() > 1) // single letters are the shared answers above
                names << a;
    }
    for (const QString& n : names) {
        QFile f(fileio::Join(folder, n.toLower() + QStringLiteral(".wav")));
        if (f.open(QIODevice::WriteOnly))
            f.write("RIFF");
    }
}

} // namespace varenta::testing
