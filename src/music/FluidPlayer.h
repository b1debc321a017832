// The media player over FluidSynth: a synthesizer of its own on the engine's shared
// SoundFont and output, and a FluidSynth MIDI file player for each playback.
#pragma once

#include "FluidEngine.h"
#include "MediaPlayer.h"
#include "MidiFile.h"

#include <QByteArray>
#include <cstdint>
#include <memory>

namespace spades {

class TFluidPlayer : public TMediaPlayer {
    Q_OBJECT
public:
    explicit TFluidPlayer(std::shared_ptr<TFluidEngine> engine, QObject* parent = nullptr);
    ~TFluidPlayer() override;

    void Open() override;
    void Play() override;
    void Close() override;

    // Opens song bytes already in memory; name labels the messages.
    void OpenData(const QByteArray& bytes, const QString& name);

    bool IsOpen() const { return FState != TState::Closed; }
    bool IsPlaying() const { return FState == TState::Playing; }
    // What the reader learned about the open song.
    const TMidiSummary& Song() const { return FSong; }

private:
    enum class TState { Closed, Stopped, Playing };

    void OpenChecked(QByteArray smf, const TMidiSummary& song);
    void EndOfPlayback(std::uint64_t serial);
    void StopPlayback();  // under the engine's lock

    std::shared_ptr<TFluidEngine> FEngine;
    TFluidVoice FVoice;
    QByteArray FSmf;
    TMidiSummary FSong;
    TState FState = TState::Closed;
    std::uint64_t FSerial = 0;  // counts the playbacks, so that a late end report is ignored
};

}  // namespace spades
