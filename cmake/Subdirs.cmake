# Adds every direct subfolder of the current folder, in name order, so that each
# tool, fuzz target or benchmark stays in a folder of its own. A subfolder without
# a CMakeLists.txt is an error: it would otherwise drop out of the build unseen.
function(spades_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child})
      spades_add_folders(${child})
    endif()
  endforeach()
endfunction()

# Adds the named subfolders in the order given (later ones may use earlier ones).
# Every one must be there: a renamed folder stops the configure instead of
# leaving the build without it.
function(spades_add_folders)
  foreach(child IN LISTS ARGN)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt is missing; "
                          "it is added from ${CMAKE_CURRENT_LIST_FILE}")
    endif()
    add_subdirectory(${child})
  endforeach()
endfunction()
