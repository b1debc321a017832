// The table window's background music: the sequencer over the song player, and
// the one notice a machine gets when no sound can be made.
#include "SpadesU.h"

#include "FluidEngine.h"
#include "FluidPlayer.h"
#include "Defaults.h"
#include "LblEffct.h"
#include "MusicSequencer.h"
#include "TableHistory.h"
#include "TableScene.h"

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
        FSoundNotice = message;
        ShowSoundNotice();
    });
}

void TfrmMain::ShowSoundNotice()
{
    // Once a machine, on the table that is up, never stacked on another dialog.
    if (FSoundNoticeShown || FSoundNotice.isEmpty() || !FShown || FClosed || !FDefaults)
        return;
    if (FDefaults->SoundNoticeShown()) {
        FSoundNoticeShown = true;
        return;
    }
    const QString line = FSoundNotice + " The game goes on without music.";
    if (FDefaults->SoundNoticeOnTable()) {
        FScene->SetNotice(line);
    } else {
        // A box only while no game is on; it leaves the keys to the table.
        const TCycleStage stage = FStage.Stage;
        const bool resting = stage == TCycleStage::Rest || stage == TCycleStage::Over || stage == TCycleStage::Stopped;
        if (!resting || JoinedTable() || FHistory->Replaying() || FCountedPrompts->Open())
            return;
        FPrompts->Inform(TNoticeKind::Warning, FSoundNotice + "\r\rThe game goes on without music.");
    }
    FSoundNoticeShown = true;
    FDefaults->SetSoundNoticeShown(true);
}

std::shared_ptr<TFluidEngine> TfrmMain::MusicEngine()
{
    if (!FEngine)
        FEngine = FEnvironment.Engine ? FEnvironment.Engine : std::make_shared<TFluidEngine>();
    return FEngine;
}

}  // namespace spades
