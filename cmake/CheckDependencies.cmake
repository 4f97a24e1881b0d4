# Checks that every include of the program's sources points the way the layers allow:
#
#   app -> feature windows -> feature cores -> base (+ the desktop seam and the icon reader and writer)
#   -> the file replace
#
# and that no two features include each other's windows. Run as a test:
#   cmake -DSOURCE_DIR=<repo> -DWIDGET_HEADERS=<QtWidgets include folder> -P cmake/CheckDependencies.cmake
# It names each file and include that breaks a rule and fails; it changes nothing.

cmake_minimum_required(VERSION 3.25)

# Every folder of sources is one component; a file belongs to the longest folder that holds it.
set(components
    base
    platform/filewrite
    platform/iconreader
    platform/iconwriter
    platform
    ui
    paths/core
    paths
    browse/core
    browse
    savedpaths/core
    savedpaths
    language/core
    language
    about/core
    about
    app
    tools
    dist
    fuzz
    bench)

# What each component may include besides itself: the whole table, so a new dependency is a deliberate
# change here. Features never include each other's windows; a window includes its own core and the cores
# below it; only app sees every window.
set(allowed_base platform/filewrite)
set(allowed_platform/filewrite "")
set(allowed_platform/iconreader "")
set(allowed_platform/iconwriter platform/iconreader platform/filewrite)
set(allowed_platform "")
set(allowed_paths/core base)
set(allowed_browse/core base)
set(allowed_savedpaths/core base)
set(allowed_language/core base)
set(allowed_about/core base)
set(allowed_ui base platform)
set(allowed_paths ui paths/core base platform)
set(allowed_browse ui browse/core base platform platform/iconreader platform/iconwriter)
set(allowed_savedpaths ui savedpaths/core base platform)
set(allowed_language ui language/core base platform)
set(allowed_about ui about/core base platform)
set(allowed_app
    ui paths paths/core browse browse/core savedpaths savedpaths/core language language/core about about/core
    base platform dist)
set(allowed_tools browse/core platform/iconreader platform/iconwriter platform/filewrite)
set(allowed_dist "")
set(allowed_fuzz platform/iconreader platform/iconwriter tests)
# Benchmarks drive the real windows as the tests do.
set(allowed_bench ${components} tests)

# The cores (and the file replace and the icon reader and writer) are toolkit-free: no header of Qt Widgets,
# and for the file replace, the reader and the writer no Qt header at all.
set(no_widgets base paths/core browse/core savedpaths/core language/core about/core)
set(no_qt platform/filewrite platform/iconreader platform/iconwriter)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
set(widget_headers "")
if(WIDGET_HEADERS AND IS_DIRECTORY "${WIDGET_HEADERS}")
  file(GLOB widget_headers RELATIVE "${WIDGET_HEADERS}" "${WIDGET_HEADERS}/Q*")
endif()
if(NOT widget_headers)
  message(FATAL_ERROR "No Qt Widgets headers in '${WIDGET_HEADERS}'")
endif()

function(component_of path out)
  set(found "")
  foreach(c ${components})
    string(LENGTH "${c}/" n)
    string(SUBSTRING "${path}" 0 ${n} head)
    if(head STREQUAL "${c}/")
      set(found ${c})
      break() # the list names each inner folder before the folder around it
    endif()
  endforeach()
  if(found STREQUAL "" AND path MATCHES "^tests/")
    set(found tests)
  endif()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(problems "")
set(checked 0)
foreach(c ${components})
  file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${c}/*.h" "${SOURCE_DIR}/${c}/*.cpp")
  foreach(file ${files})
    component_of("${file}" own)
    if(NOT own STREQUAL c)
      continue() # an inner folder's file, checked under its own component
    endif()
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${lines})
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(target "${CMAKE_MATCH_1}")
        if(NOT target MATCHES "/")
          continue() # a file beside it: the same component
        endif()
        component_of("${target}" theirs)
        if(theirs STREQUAL "")
          list(APPEND problems "${file}: includes \"${target}\", which lies in no known folder")
        elseif(NOT theirs STREQUAL own AND NOT theirs IN_LIST allowed_${own})
          list(APPEND problems "${file}: ${own} may not include ${theirs} (\"${target}\")")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z0-9_/]*)>")
        set(header "${CMAKE_MATCH_1}")
        string(REGEX REPLACE "^QtWidgets/" "" bare "${header}")
        if(own IN_LIST no_qt)
          list(APPEND problems "${file}: ${own} is free of Qt, yet includes <${header}>")
        elseif(own IN_LIST no_widgets AND (header MATCHES "^QtWidgets/" OR bare IN_LIST widget_headers))
          list(APPEND problems "${file}: ${own} is toolkit-free, yet includes the widget header <${header}>")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "No sources found below '${SOURCE_DIR}'")
endif()
list(LENGTH problems count)
if(count GREATER 0)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "${count} include(s) break the layers (cmake/CheckDependencies.cmake):\n  ${text}")
endif()
message(STATUS "${checked} files follow the layers")
