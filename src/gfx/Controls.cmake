# The table's controls and the card images drawn for them at build time.
set(card_art_dir ${CMAKE_CURRENT_BINARY_DIR}/cards)
set(card_art_rcc ${CMAKE_CURRENT_BINARY_DIR}/cards_rcc.cpp)
add_custom_command(
  OUTPUT ${card_art_rcc}
  BYPRODUCTS ${card_art_dir}/cards.qrc
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:spades-cardart> ${card_art_dir}
  COMMAND Qt6::rcc --name cards --no-compress -o ${card_art_rcc} ${card_art_dir}/cards.qrc
  DEPENDS spades-cardart
  COMMENT "Drawing the card images"
  VERBATIM)

set(spades_gfx_sources)
foreach(module CardDeck CardRender CardTitle DevicePixels Tilemap Sleeper LblEffct ExtListView Shape CardFaces
               DeckChooser)
  list(APPEND spades_gfx_sources ${module}.cpp ${module}.h)
endforeach()
add_library(spades_gfx STATIC ${spades_gfx_sources} ${card_art_rcc})
set_target_properties(spades_gfx PROPERTIES AUTOMOC ON)
target_include_directories(spades_gfx PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(spades_gfx PUBLIC spades_game spades_decks Qt6::Widgets PRIVATE spades_cardart)
