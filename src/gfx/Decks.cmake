# spades_decks: the card decks installed on the desktop, found and drawn with Qt SVG.
add_library(spades_decks STATIC
  ${CMAKE_CURRENT_LIST_DIR}/InstalledDecks.cpp ${CMAKE_CURRENT_LIST_DIR}/InstalledDecks.h
  ${CMAKE_CURRENT_LIST_DIR}/SvgCardDeck.cpp ${CMAKE_CURRENT_LIST_DIR}/SvgCardDeck.h)
target_include_directories(spades_decks PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(spades_decks PUBLIC spades_game Qt6::Gui Qt6::Svg PRIVATE ZLIB::ZLIB)
