#include "FluidPlayer.h"

#include "SongFile.h"

#include <QMetaObject>

#include <fluidsynth.h>

namespace spades {

TFluidPlayer::TFluidPlayer(std::shared_ptr<TFluidEngine> engine, QObject* parent)
    : TMediaPlayer(parent), FEngine(std::move(engine))
{
}

TFluidPlayer::~TFluidPlayer()
{
    Close();
    FEngine->DeleteSynth(FVoice.Synth);
}

void TFluidPlayer::Open()
{
    Close();
    TSongFile file = LoadSongFile(FileName());
    OpenChecked(std::move(file.Smf), file.Song);
}

void TFluidPlayer::OpenData(const QByteArray& bytes, const QString& name)
{
    Close();
    TSongFile file = ParseSongBytes(bytes, name);
    OpenChecked(std::move(file.Smf), file.Song);
}

void TFluidPlayer::OpenChecked(QByteArray smf, const TMidiSummary& song)
{
    if (!FVoice.Synth)
        FVoice.Synth = FEngine->NewSynth();
    FEngine->AcquireOutput();
    FEngine->Attach(FVoice);
    FSmf = std::move(smf);
    FSong = song;
    FState = TState::Stopped;
}

void TFluidPlayer::Play()
{
    if (FState == TState::Closed)
        throw EMediaError("Cannot play: no song is open.");
    const std::uint64_t serial = ++FSerial;
    // Runs on the render thread, under the engine's lock, so this player is alive; a queued
    // call to a player destroyed before delivery is dropped by Qt.
    auto ended = [this, serial] {
        QMetaObject::invokeMethod(this, [this, serial] { EndOfPlayback(serial); }, Qt::QueuedConnection);
    };
    if (FState == TState::Playing) {
        // The song goes on; only its notification changes hands.
        {
            const auto lock = FEngine->Lock();
            FVoice.Ended = ended;
        }
        PostNotify(TMediaResult::Superseded);
        return;
    }

    bool started = false;
    {
        const auto lock = FEngine->Lock();
        StopPlayback();
        fluid_player_t* player = new_fluid_player(FVoice.Synth);
        if (player && fluid_player_add_mem(player, FSmf.constData(), static_cast<size_t>(FSmf.size())) == FLUID_OK &&
            fluid_player_play(player) == FLUID_OK) {
            FVoice.Player = player;
            FVoice.Watching = true;
            FVoice.Ended = ended;
            started = true;
        } else if (player) {
            delete_fluid_player(player);
        }
    }
    if (started)
        FState = TState::Playing;
    else
        PostNotify(TMediaResult::Failure);
}

void TFluidPlayer::Close()
{
    if (FState == TState::Closed)
        return;
    {
        const auto lock = FEngine->Lock();
        StopPlayback();
        fluid_synth_all_sounds_off(FVoice.Synth, -1);
    }
    FEngine->Detach(FVoice);
    FEngine->ReleaseOutput();
    if (FState == TState::Playing)
        PostNotify(TMediaResult::Aborted);
    FState = TState::Closed;
    FSmf.clear();
    FSong = {};
}

void TFluidPlayer::StopPlayback()
{
    if (FVoice.Player) {
        fluid_player_stop(FVoice.Player);
        delete_fluid_player(FVoice.Player);
    }
    FVoice.Player = nullptr;
    FVoice.Watching = false;
    FVoice.Ended = nullptr;
}

void TFluidPlayer::EndOfPlayback(std::uint64_t serial)
{
    // A report that crossed a Close or a newer Play belongs to no running playback.
    if (FState != TState::Playing || serial != FSerial)
        return;
    FState = TState::Stopped;
    PostNotify(TMediaResult::Successful);
}

}  // namespace spades
