#include "MusicSequencer.h"

#include "SongFile.h"

namespace spades {
namespace {

// Blanks are the space and every control character.
QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= u' ')
        ++first;
    while (last > first && text[last - 1].unicode() <= u' ')
        --last;
    return text.mid(first, last - first);
}

}  // namespace

TMusicSequencer::TMusicSequencer(TMusicSettings& settings, TMediaPlayer& player, TFileExists fileExists,
                                 QObject* parent)
    : QObject(parent),
      FSettings(settings),
      FPlayer(player),
      FFileExists(fileExists ? std::move(fileExists) : TFileExists(SongFileExists))
{
    connect(&FPlayer, &TMediaPlayer::Notify, this, &TMusicSequencer::MediaPlayer1Notify);
    FTimer2.setInterval(75);
    connect(&FTimer2, &QTimer::timeout, this, &TMusicSequencer::Timer2Timer);
    FTimer2.start();
    FTimer3.setInterval(200);
    FTimer3.setSingleShot(true);
    connect(&FTimer3, &QTimer::timeout, this, &TMusicSequencer::Timer3Timer);
    FTimer3.start();
}

bool TMusicSequencer::Playable(int slot) const
{
    const QString& path = FSettings.Songs[static_cast<size_t>(slot)];
    return !path.isEmpty() && FFileExists(path);
}

void TMusicSequencer::PickNextSong()
{
    bool any = false;
    for (int slot = 0; slot < TMusicSettings::SlotCount && !any; ++slot)
        any = Playable(slot);
    if (!any) {
        FCurrentSong = NoSong;
        return;
    }
    int slot = FCurrentSong + 1;
    if (slot < 0 || slot >= TMusicSettings::SlotCount)
        slot = 0;
    // At most one round: a file may vanish between the count and the walk.
    for (int step = 0; step < TMusicSettings::SlotCount; ++step, slot = (slot + 1) % TMusicSettings::SlotCount) {
        if (Playable(slot)) {
            FCurrentSong = slot;
            return;
        }
    }
    FCurrentSong = NoSong;
}

void TMusicSequencer::Timer3Timer()
{
    FTimer3.stop();
    if (!FSettings.MusicOn)
        return;
    FCurrentSong = Restart;
    PickNextSong();
    if (FCurrentSong != NoSong)
        FCurrentSong += DueOffset;
}

void TMusicSequencer::Timer2Timer()
{
    if (FCurrentSong < DueOffset)
        return;
    while (FCurrentSong >= DueOffset)
        FCurrentSong -= DueOffset;
    OpenAndPlay(trimBlanks(FSettings.Songs[static_cast<size_t>(FCurrentSong)]));
}

void TMusicSequencer::MediaPlayer1Notify(TMediaResult result)
{
    if (result != TMediaResult::Successful)
        return;
    PickNextSong();
    if (FCurrentSong != NoSong)
        FCurrentSong += DueOffset;
    FPlayer.Close();
}

void TMusicSequencer::BeforePreferences()
{
    // A song due in the next tick would otherwise start while the dialog is open.
    if (FCurrentSong >= DueOffset)
        FCurrentSong %= DueOffset;
    if (FSettings.MusicOn)
        FPlayer.Close();
}

void TMusicSequencer::AfterPreferences()
{
    if (!FSettings.MusicOn)
        return;
    FCurrentSong = Restart;
    PickNextSong();
    if (FCurrentSong >= 0 && FCurrentSong < TMusicSettings::SlotCount)
        OpenAndPlay(FSettings.Songs[static_cast<size_t>(FCurrentSong)]);
}

// A failure leaves CurrentSong on the slot: nothing plays and nothing notifies, so the
// music stays quiet until the preferences dialog next closes.
void TMusicSequencer::OpenAndPlay(const QString& path)
{
    try {
        FPlayer.SetFileName(path);
        FPlayer.Open();
        FPlayer.Play();
    } catch (const ENoSound& e) {
        if (!FSoundUnavailable) {
            FSoundUnavailable = true;
            emit soundUnavailable(QString::fromStdString(e.what()));
        }
    } catch (const EMediaError& e) {
        emit errorOccurred(QString::fromStdString(e.what()));
    }
}

}  // namespace spades
