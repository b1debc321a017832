# The preferences and the per-user file that holds them (Qt Core only).
add_library(spades_prefs STATIC
  Defaults.cpp Defaults.h
  MusicSettings.h
  WinReg.cpp WinReg.h
  RegErrors.h
  RegFile.cpp RegFile.h
  RegStore.cpp RegStore.h
  RegText.cpp RegText.h)
target_include_directories(spades_prefs PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(spades_prefs PUBLIC Qt6::Core)
