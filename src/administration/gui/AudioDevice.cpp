#include "administration/gui/AudioDevice.h"

#include "app/Errors.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace varenta::administration {

QtWaveDevice::QtWaveDevice(QObject* parent) : QObject(parent) {}

QtWaveDevice::~QtWaveDevice() {
    Close();
}

bool QtWaveDevice::Open(SoundFailure* failure) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (QMediaDevices::audioOutputs().isEmpty() || device.isNull()) {
        if (failure)
            *failure = {snd::DeviceUnavailable, QStringLiteral("Device unavailable")};
        return false;
    }
    if (!effect_) {
        effect_ = new QSoundEffect(device, this);
        effect_->setObjectName(QStringLiteral("mciAudio"));
        connect(effect_, &QSoundEffect::statusChanged, this, &QtWaveDevice::StatusChanged);
    }
    return true;
}

void QtWaveDevice::Play(const QString& path) {
    if (!effect_)
        return;
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        ReportFailure({info.exists() ? err::PathFileAccess : err::FileNotFound,
                       ErrorDescription(info.exists() ? err::PathFileAccess : err::FileNotFound)});
        return;
    }
    effect_->stop();
    effect_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    effect_->play(); // starts once the file is loaded, on the event loop
}

void QtWaveDevice::Close() {
    if (!effect_)
        return;
    effect_->stop();
    effect_->setSource(QUrl());
}

void QtWaveDevice::StatusChanged() {
    if (!effect_ || effect_->status() != QSoundEffect::Error)
        return;
    // The effect does not say why; a vanished output device is the one cause worth telling
    // apart, since it means no further sound can play.
    if (QMediaDevices::audioOutputs().isEmpty())
        ReportFailure({snd::DeviceUnavailable, QStringLiteral("Device unavailable")});
    else
        ReportFailure({snd::InvalidFileFormat, QStringLiteral("Invalid file format")});
}

} // namespace varenta::administration
