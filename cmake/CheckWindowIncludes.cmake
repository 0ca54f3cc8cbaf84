# A window file includes no other window's header: windows are wired by
# Station alone. Run as: cmake -DSOURCE_DIR=<repo> -P CheckWindowIncludes.cmake
#
# A window header is src/<folder>/T<Name>.h of a window class. A file may
# include its own window's header (T<Name>.cpp, its Words, Design and
# Automation parts). Allowed besides: Station; the overview creates its two
# editors; the error window drives the alarm mask window.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not set")
endif()
# Not windows, though named like one: the window base, the translation engine
# and the pipe server.
set(not_windows TForm TMultiLang TServerThread)
set(allowed
  "src/app/Station.cpp:*"
  "src/parameters/TParameter.cpp:TParamEdit"
  "src/parameters/TParameter.cpp:TZusatzIOEdit"
  "src/diagnostics/TFehler.h:TAlarmMaske"
  "src/diagnostics/TFehler.cpp:TAlarmMaske")

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
set(faults "")
foreach(file ${files})
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^#include \"[a-z]+/T[A-Z][A-Za-z0-9]*\\.h\"")
  get_filename_component(own ${file} NAME_WE)
  string(REGEX REPLACE "(Words|Design|Automation)$" "" own_window ${own})
  foreach(line ${lines})
    string(REGEX MATCH "/(T[A-Z][A-Za-z0-9]*)\\.h" _ ${line})
    set(included ${CMAKE_MATCH_1})
    if(included IN_LIST not_windows OR included STREQUAL own_window)
      continue()
    endif()
    if("${file}:*" IN_LIST allowed OR "${file}:${included}" IN_LIST allowed)
      continue()
    endif()
    list(APPEND faults "${file} includes ${included}.h")
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "A window includes another window's header (wire them in Station):\n  ${text}")
endif()
list(LENGTH files n)
message(STATUS "No window includes another window's header (${n} files looked at)")
