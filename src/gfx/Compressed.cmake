# spades_cmpres: the expander alone, also used by the offline encoder tool.
add_library(spades_cmpres STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Cmpres32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LzhTree.cpp)
target_include_directories(spades_cmpres PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(spades_cmpres PUBLIC Qt6::Core)

# spades_gfxres: the loader and the five "CMPBMP" resources, drawn by
# spades-surfaces and compressed by cmpbmp at build time.
add_library(spades_gfxres STATIC ${CMAKE_CURRENT_LIST_DIR}/Cmpint32.cpp)
target_link_libraries(spades_gfxres PUBLIC spades_cmpres Qt6::Gui)

set(cmpbmp_dir ${CMAKE_CURRENT_BINARY_DIR}/cmpbmp)
set(cmpbmp_names IDB_GREENCLOTH IDB_MAHOGANY IDB_OAK IDB_GRANITE IDB_INTERRUPT)
set(cmpbmp_bitmaps)
foreach(name IN LISTS cmpbmp_names)
  list(APPEND cmpbmp_bitmaps ${cmpbmp_dir}/bmp/${name}.bmp)
endforeach()
add_custom_command(
  OUTPUT ${cmpbmp_bitmaps}
  COMMAND spades-surfaces ${cmpbmp_dir}/bmp
  DEPENDS spades-surfaces
  COMMENT "Drawing the table surfaces and the stop glyph"
  VERBATIM)

set(cmpbmp_streams)
foreach(name IN LISTS cmpbmp_names)
  add_custom_command(
    OUTPUT ${cmpbmp_dir}/${name}
    COMMAND cmpbmp compress --method LZH ${cmpbmp_dir}/bmp/${name}.bmp ${cmpbmp_dir}/${name}
    DEPENDS cmpbmp ${cmpbmp_dir}/bmp/${name}.bmp
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND cmpbmp_streams ${cmpbmp_dir}/${name})
endforeach()

# Stored as they are: the streams are compressed already.
qt_add_resources(spades_gfxres cmpbmp_resources
  PREFIX /CMPBMP
  BASE ${cmpbmp_dir}
  FILES ${cmpbmp_streams}
  OPTIONS --no-compress)
