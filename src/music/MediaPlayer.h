// The media player the music sequencer and the song preview talk to: set a file name,
// open it synchronously, play it in the background, close it, and hear how the playback
// ended through Notify, delivered on the user-interface thread.
#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>

namespace spades {

// A song could not be opened or played; the text names the file and the problem.
class EMediaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No sound can be made at all (no SoundFont, no audio output): not the song's fault.
class ENoSound : public EMediaError {
public:
    using EMediaError::EMediaError;
};

enum class TMediaResult { Successful, Superseded, Aborted, Failure };

class TMediaPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void SetFileName(const QString& fileName) { FFileName = fileName; }
    const QString& FileName() const { return FFileName; }

    // Closes what is open, then reads and checks the file. Throws EMediaError or ENoSound.
    virtual void Open() = 0;
    // Starts playing the open file and returns at once; Notify tells how it ended.
    // A playback still running is superseded. Throws EMediaError when nothing is open.
    virtual void Play() = 0;
    // Stops and releases the file; a playback still running ends as Aborted.
    // Does nothing when nothing is open.
    virtual void Close() = 0;

    // The result of the last notification, readable in its handler.
    TMediaResult NotifyValue() const { return FNotifyValue; }

signals:
    void Notify(spades::TMediaResult result);

protected:
    // Queues a notification; it arrives through the event loop, like a window message.
    void PostNotify(TMediaResult result);

private:
    void Deliver(TMediaResult result);

    QString FFileName;
    TMediaResult FNotifyValue = TMediaResult::Successful;
};

// A player that plays nothing, for tools that show the table without sound.
class TSilentPlayer : public TMediaPlayer {
public:
    void Open() override {}
    void Play() override {}
    void Close() override {}
};

}  // namespace spades

Q_DECLARE_METATYPE(spades::TMediaResult)
