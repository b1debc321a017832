// The table window's background music: the sequencer over the song player, and
// the one notice a run when no sound can be made.
#include "SpadesU.h"

#include "FluidEngine.h"
#include "FluidPlayer.h"
#include "MusicSequencer.h"

namespace spades {

void TfrmMain::StartMusic()
{
    if (FEnvironment.MusicPlayer) {
        MediaPlayer1 = FEnvironment.MusicPlayer;
    } else {
        FOwnPlayer = std::make_unique<TFluidPlayer>(MusicEngine());
        MediaPlayer1 = FOwnPlayer.get();
    }
    FOwnSequencer = std::make_unique<TMusicSequencer>(FMusic, *MediaPlayer1);
    FSequencer = FOwnSequencer.get();
    // The first song waits for the stored preferences: they may say no music at all.
    FSequencer->Timer3().stop();
    connect(FSequencer, &TMusicSequencer::errorOccurred, this,
            [this](const QString& message) { FPrompts->Notice(TNoticeKind::Error, message); });
    connect(FSequencer, &TMusicSequencer::soundUnavailable, this, [this](const QString& message) {
        if (FSoundNoticeShown || !FSoundNotice.isEmpty())
            return;
        FSoundNotice = message + "\r\rThe game goes on without music.";
        ShowSoundNotice();
    });
}

void TfrmMain::ShowSoundNotice()
{
    // Once a run, on the table that is up, never stacked on another dialog.
    if (FSoundNoticeShown || FSoundNotice.isEmpty() || !FShown || FClosed || FCountedPrompts->Open())
        return;
    FSoundNoticeShown = true;
    FPrompts->Notice(TNoticeKind::Warning, FSoundNotice);
}

std::shared_ptr<TFluidEngine> TfrmMain::MusicEngine()
{
    if (!FEngine)
        FEngine = FEnvironment.Engine ? FEnvironment.Engine : std::make_shared<TFluidEngine>();
    return FEngine;
}

}  // namespace spades
