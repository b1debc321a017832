# Precompiled headers: most of a file's compile time here goes into the standard,
# Qt and GoogleTest headers, parsed again for every file. Each target gets one
# precompiled header with the headers of what it links, and no more, so a file of
# the rules never sees Qt.
option(SPADES_PCH "Precompile the standard, Qt and test headers each target uses" ON)

set(SPADES_PCH_STD
  <algorithm> <array> <cstdint> <functional> <memory> <optional> <string>
  <string_view> <vector> <map> <set> <utility>)
set(SPADES_PCH_QT_CORE
  <QByteArray> <QDir> <QFile> <QFileInfo> <QObject> <QPointer> <QString>
  <QStringList> <QTimer> <QVariant>)
set(SPADES_PCH_QT_GUI <QColor> <QImage> <QPainter> <QPixmap>)
set(SPADES_PCH_QT_WIDGETS
  <QApplication> <QComboBox> <QDialog> <QLabel> <QPushButton> <QSpinBox>
  <QToolButton> <QWidget>)
set(SPADES_PCH_QT_TEST <QSignalSpy> <QTest>)
set(SPADES_PCH_GTEST <gmock/gmock.h> <gtest/gtest.h>)
# The header sets a target gets, in this order, for linking any library named.
set(SPADES_PCH_BY_LIBRARY
  "Qt6::Core=QT_CORE" "Qt6::Gui|Qt6::Widgets=QT_GUI" "Qt6::Widgets=QT_WIDGETS"
  "Qt6::Test=QT_TEST" "GTest::gmock|GTest::gtest=GTEST")

# Every target the folder and its subfolders define.
function(_spades_folder_targets dir out)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _spades_folder_targets(${sub} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The names of everything a target links, directly or through the libraries it
# links (generator expressions are read for the target names inside them).
function(_spades_link_closure target out)
  set(seen "")
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue item)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
    if(item IN_LIST seen OR NOT TARGET ${item})
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      list(APPEND queue ${aliased})
    endif()
    get_target_property(imported ${item} IMPORTED)
    if(imported)
      continue()  # a package's own links only repeat what it stands for
    endif()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(links ${item} ${property})
      if(links)
        list(APPEND queue ${links})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(spades_precompile_folder dir)
  if(NOT SPADES_PCH)
    return()
  endif()
  _spades_folder_targets(${dir} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    # For a file or two the precompiling costs more than it saves.
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count LESS 3)
      continue()
    endif()
    _spades_link_closure(${target} links)
    set(headers ${SPADES_PCH_STD})
    foreach(entry IN LISTS SPADES_PCH_BY_LIBRARY)
      string(REPLACE "=" ";" entry "${entry}")
      list(GET entry 0 libraries)
      list(GET entry 1 headerSet)
      string(REPLACE "|" ";" libraries "${libraries}")
      foreach(library IN LISTS libraries)
        if(library IN_LIST links)
          list(APPEND headers ${SPADES_PCH_${headerSet}})
          break()
        endif()
      endforeach()
    endforeach()
    target_precompile_headers(${target} PRIVATE ${headers})
  endforeach()
endfunction()
