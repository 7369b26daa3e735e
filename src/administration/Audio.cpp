#include "administration/Audio.h"

#include "app/Errors.h"
#include "app/FileIO.h"
#include "app/Messages.h"

#include <QDir>
#include <QFileInfo>

namespace varenta::administration {

namespace {

// The failures a client should never hear about: the test simply goes on without that sound.
bool IsQuietFailure(int number) {
    switch (number) {
    case err::BadFileName:
    case err::FileNotFound:
    case err::DeviceIO:
    case snd::DeviceUnavailable:
    case err::PathFileAccess:
    case err::PathNotFound:
        return true;
    default:
        return false;
    }
}

// Answers shared by many items are recorded once; the question tables name them by letter.
QString SharedWave(const QString& fileName) {
    QString base = fileName.trimmed();
    if (base.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive))
        base.chop(4);
    base = base.trimmed().toUpper();
    if (base == QLatin1String("T"))
        return QStringLiteral("True.wav");
    if (base == QLatin1String("F"))
        return QStringLiteral("False.wav");
    if (base == QLatin1String("Y"))
        return QStringLiteral("Yes.wav");
    if (base == QLatin1String("N"))
        return QStringLiteral("No.wav");
    return QString();
}

} // namespace

QString SoundFolder(const QString& sndPath, const QString& language) {
    return fileio::Join(sndPath, QStringLiteral("QVTEST/sound/") + language);
}

WaveAudio::WaveAudio(WaveDevice* device, const QString& sndPath, const QString& language)
    : device_(device), folder_(SoundFolder(sndPath, language)) {
    if (device_)
        device_->SetFailureHandler([this](const SoundFailure& f) { Failed(f); });
}

WaveAudio::~WaveAudio() {
    if (device_) {
        device_->SetFailureHandler({});
        if (playing_)
            device_->Close();
    }
}

void WaveAudio::InitAudio() {
    soundOn_ = false;
    listed_ = false;
    listing_.clear();
    if (!device_)
        return;
    SoundFailure failure;
    if (device_->Open(&failure)) {
        soundOn_ = true;
        return;
    }
    if (!IsQuietFailure(failure.number))
        Failed(failure);
}

QString WaveAudio::WavePath(const QString& fileName) const {
    QString name = SharedWave(fileName);
    if (name.isEmpty())
        name = fileName.trimmed();
    // A row without an audio name gives just the extension.
    if (name.isEmpty() || name.compare(QLatin1String(".wav"), Qt::CaseInsensitive) == 0)
        return QString();
    // A name must stay inside the sound folder.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == "..")
        return QString();
    const QString exact = fileio::Join(folder_, name);
    if (QFileInfo(exact).isFile())
        return exact;
    if (!listed_) {
        listed_ = true;
        for (const QString& entry : QDir(folder_).entryList(QDir::Files | QDir::Hidden))
            listing_.insert(entry.toLower(), entry);
    }
    const auto it = listing_.constFind(name.toLower());
    if (it == listing_.constEnd())
        return QString();
    const QString path = fileio::Join(folder_, *it);
    return QFileInfo(path).isFile() ? path : QString();
}

void WaveAudio::PlayWave(const QString& fileName) {
    if (!soundOn_)
        return;
    StopSound();
    const QString path = WavePath(fileName);
    if (path.isEmpty())
        return;
    playing_ = true;
    device_->Play(path);
}

void WaveAudio::StopSound() {
    if (!device_ || !playing_)
        return;
    playing_ = false;
    device_->Close();
}

void WaveAudio::Failed(const SoundFailure& failure) {
    if (failure.number == snd::DeviceUnavailable)
        soundOn_ = false; // the device went away: stop promising the client sound
    if (IsQuietFailure(failure.number) || errorShown_)
        return;
    errorShown_ = true;
    MsgBox(ErrorText(failure.number, failure.description), MsgButtons::Ok, MsgIcon::Critical,
           QStringLiteral("Sound Error"));
}

} // namespace varenta::administration
