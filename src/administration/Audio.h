#pragma once

#include <QHash>
#include <QString>

#include <functional>

// Wave audio for the on-screen test: the statements, answers and instructions are read aloud
// from wave files of the language's sound folder. The sound device sits behind WaveDevice so
// the logic here (which file, whether sound is on, which errors the client ever sees) runs and
// is tested without one.
namespace varenta::administration {

// Error numbers a sound failure carries, beside the file-level ones of app/Errors.h.
namespace snd {
inline constexpr int DeviceUnavailable = 68;
inline constexpr int InvalidFileFormat = 321;
} // namespace snd

struct SoundFailure {
    int number = 0;
    QString description;
};

// The platform's wave player: one file at a time, played in the background.
class WaveDevice {
public:
    using FailureHandler = std::function<void(const SoundFailure&)>;

    virtual ~WaveDevice() = default;

    // Prepares the device for wave audio. False, with the reason, when no sound can be played.
    virtual bool Open(SoundFailure* failure) = 0;
    // Starts playing a wave file; returns at once. A failure found later is reported through
    // the failure handler, on the event loop.
    virtual void Play(const QString& path) = 0;
    // Cuts off the sound playing, if any, and releases the file.
    virtual void Close() = 0;

    void SetFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }

protected:
    void ReportFailure(const SoundFailure& failure) {
        if (onFailure_)
            onFailure_(failure);
    }

private:
    FailureHandler onFailure_;
};

// The sound folder of a language: SndPath + "/QVTEST/sound/" + language.
QString SoundFolder(const QString& sndPath, const QString& language);

// The sound of one test session. Sound errors never stop the test: the usual ones (a file
// missing or unreadable, the device gone) are passed over in silence, and anything else is
// shown once in a "Sound Error" box.
class WaveAudio {
public:
    // `device` may be null: the test then runs without sound.
    WaveAudio(WaveDevice* device, const QString& sndPath, const QString& language);
    ~WaveAudio();
    WaveAudio(const WaveAudio&) = delete;
    WaveAudio& operator=(const WaveAudio&) = delete;

    // Prepares the device; when it cannot be prepared, SoundOn stays false for the session.
    void InitAudio();
    // Stops any sound, then plays a wave of the sound folder. "T", "F", "Y" and "N" (with or
    // without ".wav") stand for the shared True, False, Yes and No waves. An empty name or a
    // file that is not there plays nothing.
    void PlayWave(const QString& fileName);
    void StopSound();

    bool SoundOn() const { return soundOn_; }
    const QString& folder() const { return folder_; }

    // The file PlayWave would play for a name, or an empty string when it plays nothing.
    QString WavePath(const QString& fileName) const;

private:
    void Failed(const SoundFailure& failure);

    WaveDevice* device_;
    QString folder_;
    // The folder's file names by lower-case name, read once: a folder copied with other
    // capitals must not cost a folder scan on every sound.
    mutable QHash<QString, QString> listing_;
    mutable bool listed_ = false;
    bool soundOn_ = false;
    bool errorShown_ = false;
    bool playing_ = false;
};

} // namespace varenta::administration
