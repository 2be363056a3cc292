# The layers of src/ and the one way their includes run: each folder may
# include only itself and the folders listed for it, all of them below it.
# Fails, naming every include that runs the other way.
#
#   cmake -DSOURCE_DIR=<the src folder> -P cmake/CheckLayers.cmake
#
# From the bottom up:
#   base      case folding, code page 1252, the temporary files' names
#   res       the resource ids
#   platform  one interface per system service, win32/ and posix/ below it
#   core      game table and paths, settings, the INI engine, AppState
#   swap      unit roster, swap and restore engine, the Swap command
#   backup    the backup of originals (which may run the engine's restore)
#   tools     launchers, game options, address list
#   app       the main dialog and its handlers, the mission list: the top
cmake_minimum_required(VERSION 3.20)

set(layer_base base)
set(layer_res res)
set(layer_platform base res platform)
set(layer_core base res platform core)
set(layer_swap base res platform core swap)
set(layer_backup base res platform core swap backup)
set(layer_tools base res platform core tools)
set(layer_app base res platform core swap backup tools app)

# The allowed exceptions, "<file> <what it may include>" (a file, a folder
# ending in "/", or "*" for anything), each with its reason. Keep them few.
set(exceptions
  # The engine and the Swap command read the mission list and rebuild it
  # after a swap or a refused one.
  "swap/SwapEngine.cpp app/MissionList.h"
  "swap/SwapCommands.cpp app/MissionList.h"
  # WinMain is the composition root: it wires the platform's services into
  # AppState and runs the main dialog on them.
  "platform/win32/WinMain.cpp *")

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "Pass -DSOURCE_DIR=<the src folder>")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(wrong 0)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${source}")
  if(NOT DEFINED layer_${layer})
    message(SEND_ERROR "${source}: the folder ${layer} is no layer; give it one in cmake/CheckLayers.cmake")
    math(EXPR wrong "${wrong} + 1")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${line}")
    string(REGEX MATCH "^[^/]+" target "${included}")
    if(NOT included MATCHES "/")
      set(target "")
    endif()
    if(target IN_LIST layer_${layer})
      continue()
    endif()
    set(allowed FALSE)
    foreach(exception IN LISTS exceptions)
      string(REPLACE " " ";" pair "${exception}")
      list(GET pair 0 from)
      list(GET pair 1 to)
      string(FIND "${included}" "${to}" at)
      if(source STREQUAL from AND (at EQUAL 0 OR to STREQUAL "*"))
        set(allowed TRUE)
      endif()
    endforeach()
    if(NOT allowed)
      list(JOIN layer_${layer} ", " below)
      message(SEND_ERROR "${source} includes \"${included}\": ${layer}/ may include only ${below}")
      math(EXPR wrong "${wrong} + 1")
    endif()
  endforeach()
endforeach()
if(wrong GREATER 0)
  message(FATAL_ERROR "${wrong} include(s) run against the layers")
endif()
list(LENGTH sources count)
message(STATUS "The includes of ${count} files run one way")
