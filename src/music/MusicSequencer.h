// The background music: plays the song slots one after another in a loop, in slot order,
// skipping empty slots and files that do not exist. The main window owns one and forwards
// the steps around its preferences dialog.
#pragma once

#include "MediaPlayer.h"
#include "MusicSettings.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace spades {

class TMusicSequencer : public QObject {
    Q_OBJECT
public:
    using TFileExists = std::function<bool(const QString&)>;

    static constexpr int Restart = -1;     // the next pick begins at slot 0
    static constexpr int NoSong = 9;       // no slot holds an existing file
    static constexpr int DueOffset = 10;   // 10..17: the slot (value - 10) is due to start

    // Timer2 (75 ms) and Timer3 (200 ms, once) start at once; the owner loads the
    // preferences before the event loop delivers Timer3's tick.
    TMusicSequencer(TMusicSettings& settings, TMediaPlayer& player, TFileExists fileExists = {},
                    QObject* parent = nullptr);

    int CurrentSong() const { return FCurrentSong; }
    void PickNextSong();

    // The steps of the main window's preferences command around its dialog.
    void BeforePreferences();
    void AfterPreferences();

    QTimer& Timer2() { return FTimer2; }
    QTimer& Timer3() { return FTimer3; }

public slots:
    void Timer2Timer();
    void Timer3Timer();
    void MediaPlayer1Notify(spades::TMediaResult result);

signals:
    // A song could not be opened; the window shows the text.
    void errorOccurred(const QString& message);
    // No sound can be made; sent once a run, after which the music stays quiet.
    void soundUnavailable(const QString& message);

private:
    bool Playable(int slot) const;
    void OpenAndPlay(const QString& path);

    TMusicSettings& FSettings;
    TMediaPlayer& FPlayer;
    TFileExists FFileExists;
    int FCurrentSong = 0;
    bool FSoundUnavailable = false;
    QTimer FTimer2;
    QTimer FTimer3;
};

}  // namespace spades
