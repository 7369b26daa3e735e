#pragma once

#include "administration/Audio.h"

#include <QObject>

class QSoundEffect;

namespace varenta::administration {

// Wave playback through Qt Multimedia: one sound effect object, loaded with each file in turn
// and played in the background, so keys are never held up by sound.
class QtWaveDevice : public QObject, public WaveDevice {
    Q_OBJECT
public:
    explicit QtWaveDevice(QObject* parent = nullptr);
    ~QtWaveDevice() override;

    bool Open(SoundFailure* failure) override;
    void Play(const QString& path) override;
    void Close() override;

private:
    void StatusChanged();

    QSoundEffect* effect_ = nullptr;
};

} // namespace varenta::administration
