# Checks every include of the program's sources against the layer table (cmake/layers.cmake): no include
# climbs out of a folder with "..", each layer includes only itself and the layers it stands on (less those
# it must not reach directly), and below the adapters nothing includes Qt.
#
#   cmake -DSOURCE_DIR=<the project's root> -P tests/check_includes.cmake
#
# SOURCE_DIR/src holds the sources; the table is read from this project's cmake/layers.cmake. Fails with
# one line per offending include.
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/layers.cmake")
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "give -DSOURCE_DIR=<the project's root>")
endif()

set(problems "")
set(checked 0)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" layer "${source}")
  if(NOT layer IN_LIST TALLYFORM_LAYERS)
    string(APPEND problems "\n  src/${source}: the folder ${layer} is no layer of cmake/layers.cmake")
    continue()
  endif()
  set(allowed ${layer} ${TALLYFORM_BELOW_${layer}})
  if(TALLYFORM_HIDDEN_${layer})
    list(REMOVE_ITEM allowed ${TALLYFORM_HIDDEN_${layer}})
  endif()
  file(STRINGS "${SOURCE_DIR}/src/${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    math(EXPR checked "${checked} + 1")
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]*)\"")
      set(target "${CMAKE_MATCH_1}")
      if(target MATCHES "(^|/)\\.\\.(/|$)")
        string(APPEND problems "\n  src/${source}: ${line} climbs out of its folder")
        continue()
      endif()
      string(REGEX MATCH "^[^/]+" folder "${target}")
      if(NOT target MATCHES "/" OR NOT folder IN_LIST allowed)
        string(APPEND problems "\n  src/${source}: ${line} is not among the layers ${layer} may include")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)" AND NOT layer IN_LIST TALLYFORM_QT_LAYERS)
      string(APPEND problems "\n  src/${source}: ${line} brings Qt into the core")
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Includes against the layers:${problems}")
endif()
message(STATUS "${checked} includes of ${SOURCE_DIR}/src keep to the layers")
