# spades_music: the song files' reader, the media player over FluidSynth and the
# background music sequencer.
add_library(spades_music STATIC
  MidiFile.cpp MidiFile.h
  SongFile.cpp SongFile.h
  MediaPlayer.cpp MediaPlayer.h
  FluidEngine.cpp FluidEngine.h
  FluidPlayer.cpp FluidPlayer.h
  MusicSequencer.cpp MusicSequencer.h
  MusicSettings.h)
set_target_properties(spades_music PROPERTIES AUTOMOC ON)
target_include_directories(spades_music PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(spades_music PUBLIC Qt6::Core PRIVATE PkgConfig::FLUIDSYNTH)
