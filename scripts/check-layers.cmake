# Checks that no folder of src/ or tools/ includes a header of a folder above it.
#   cmake -P scripts/check-layers.cmake            (from the source folder)
#   cmake -DROOT=/path/to/source -P scripts/check-layers.cmake
# Folders of one layer may include each other's headers one way only: two that
# include each other are one folder in two pieces. Fails on any violation.
cmake_minimum_required(VERSION 3.25)

# From the bottom up; every folder of src/ must have its place. tools/ counts as one folder.
set(layers
  "game"
  "cardart,history,net"
  "gfx,music,prefs"
  "tableview"
  "netui"
  "table"
  "dd,sim,tools")
# Pairs allowed to include each other for now, with the reason; listed on every run.
set(known_exceptions)

if(NOT ROOT)
  set(ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
endif()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

set(problems)

set(layer 0)
foreach(names IN LISTS layers)
  string(REPLACE "," ";" names "${names}")
  foreach(name IN LISTS names)
    set(layer_of_${name} ${layer})
  endforeach()
  math(EXPR layer "${layer} + 1")
endforeach()

# The folder a file belongs to, for the layers: src/<folder>/... or tools.
function(folder_of path out)
  file(RELATIVE_PATH rel "${ROOT}" "${path}")
  if(rel MATCHES "^src/([^/]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} tools PARENT_SCOPE)
  endif()
endfunction()

file(GLOB src_folders LIST_DIRECTORIES true RELATIVE "${ROOT}/src" "${ROOT}/src/*")
foreach(folder IN LISTS src_folders)
  if(IS_DIRECTORY "${ROOT}/src/${folder}" AND NOT DEFINED layer_of_${folder})
    list(APPEND problems "src/${folder} has no layer: give it its place in ${CMAKE_CURRENT_LIST_FILE}")
  endif()
endforeach()

file(GLOB_RECURSE sources "${ROOT}/src/*.h" "${ROOT}/src/*.cpp" "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp")
list(SORT sources)

# Headers are included by their bare names, so each name must say which folder it is from.
foreach(file IN LISTS sources)
  if(file MATCHES "\\.h$")
    get_filename_component(name "${file}" NAME)
    folder_of("${file}" folder)
    if(DEFINED home_of_${name} AND NOT home_of_${name} STREQUAL folder)
      list(APPEND problems "${name} is a header of both ${home_of_${name}} and ${folder}")
    endif()
    set(home_of_${name} ${folder})
  endif()
endforeach()

set(edges)
foreach(file IN LISTS sources)
  folder_of("${file}" from)
  file(RELATIVE_PATH rel "${ROOT}" "${file}")
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "\"([^\"]+)\"")
      continue()
    endif()
    get_filename_component(name "${CMAKE_MATCH_1}" NAME)
    if(NOT DEFINED home_of_${name})
      continue()  # made by the build (moc, resources) or not ours
    endif()
    set(to ${home_of_${name}})
    if(to STREQUAL from OR NOT DEFINED layer_of_${from} OR NOT DEFINED layer_of_${to})
      continue()
    endif()
    if(layer_of_${to} GREATER layer_of_${from})
      list(APPEND problems "${rel} includes ${name} of ${to}, a folder above ${from}")
    elseif(layer_of_${to} EQUAL layer_of_${from})
      list(APPEND edges "${from}>${to}")
      set(example_${from}_${to} "${rel} includes ${name}")
    endif()
  endforeach()
endforeach()

list(REMOVE_DUPLICATES edges)
foreach(edge IN LISTS edges)
  string(REPLACE ">" ";" pair "${edge}")
  list(GET pair 0 a)
  list(GET pair 1 b)
  if(NOT a STRLESS b OR NOT "${b}>${a}" IN_LIST edges)
    continue()  # each pair once, and only when it goes both ways
  endif()
  set(excused FALSE)
  foreach(exception IN LISTS known_exceptions)
    if(exception MATCHES "^${a},${b}:(.*)$")
      set(excused TRUE)
      message(STATUS "Known exception: ${a} and ${b} include each other (${CMAKE_MATCH_1})")
    endif()
  endforeach()
  if(NOT excused)
    list(APPEND problems "${a} and ${b} include each other: ${example_${a}_${b}}, and ${example_${b}_${a}}")
  endif()
endforeach()
foreach(exception IN LISTS known_exceptions)
  string(REGEX REPLACE ":.*" "" pair "${exception}")
  string(REPLACE "," ";" pair "${pair}")
  list(GET pair 0 a)
  list(GET pair 1 b)
  if(NOT "${a}>${b}" IN_LIST edges OR NOT "${b}>${a}" IN_LIST edges)
    message(STATUS "The exception for ${a} and ${b} is no longer needed: take it out of ${CMAKE_CURRENT_LIST_FILE}")
  endif()
endforeach()

list(JOIN layers " < " order)
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes against the layers ${order}:\n  ${text}")
endif()
message(STATUS "Every include keeps to the layers ${order}")
