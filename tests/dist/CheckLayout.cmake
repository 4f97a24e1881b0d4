# Installs Vesmarin into a scratch folder, or builds its Debian package and unpacks it there, and checks that
# every file lands where it belongs, that nothing else is installed, and that the desktop entry, the
# metainfo and the icons name one another correctly.
#
# cmake -DMODE=install|package -DBUILD_DIR=<build folder> -DWORK_DIR=<scratch folder> -DVERSION=<x.y.z>
#       -DEXPECT_TOOL=ON|OFF -P CheckLayout.cmake

cmake_minimum_required(VERSION 3.25)

set(APP_ID io.github.vesmarin.Vesmarin)
set(ICON_SIZES 16 32 48 64 128 256)

foreach(var MODE BUILD_DIR WORK_DIR VERSION EXPECT_TOOL)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckLayout.cmake needs -D${var}=...")
  endif()
endforeach()

set(failures 0)
macro(fail text)
  message(SEND_ERROR "${text}")
  math(EXPR failures "${failures} + 1")
endmacro()

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGV} failed (${rc}):\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(root ${WORK_DIR}/root)

if(MODE STREQUAL "install")
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${root})
  set(prefix ${root})
elseif(MODE STREQUAL "package")
  run(cpack --config ${BUILD_DIR}/CPackConfig.cmake -G DEB -B ${WORK_DIR}/package)
  file(GLOB debs ${WORK_DIR}/package/*.deb)
  list(LENGTH debs count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one Debian package, found: ${debs}")
  endif()
  get_filename_component(deb_name ${debs} NAME)
  if(NOT deb_name MATCHES "^vesmarin_${VERSION}_[a-z0-9]+\\.deb$")
    fail("the package is named ${deb_name}")
  endif()

  # The control fields a user and apt see.
  foreach(row "Package=^vesmarin$" "Version=^${VERSION}$" "Section=^graphics$"
              "Maintainer=^The Vesmarin developers$"
              "Description=^browse the icons stored in Windows programs and libraries\n Vesmarin shows ")
    string(REGEX MATCH "^([^=]+)=(.*)$" _ "${row}")
    set(field ${CMAKE_MATCH_1})
    set(pattern "${CMAKE_MATCH_2}")
    run(dpkg-deb --field ${debs} ${field})
    string(STRIP "${run_output}" value)
    if(NOT value MATCHES "${pattern}")
      fail("package field ${field} is \"${value}\", expected to match \"${pattern}\"")
    endif()
  endforeach()
  # The libraries' packages come from the linked libraries, not from a hand-kept list.
  run(dpkg-deb --field ${debs} Depends)
  string(STRIP "${run_output}" depends)
  foreach(needed libc6 libqt6widgets6)
    if(NOT ", ${depends}," MATCHES ", ${needed}[ ,]")
      fail("the package does not depend on ${needed}: ${depends}")
    endif()
  endforeach()

  run(dpkg-deb -x ${debs} ${root})
  set(prefix ${root}/usr)
  # Nothing may land outside /usr.
  file(GLOB top RELATIVE ${root} ${root}/*)
  if(NOT top STREQUAL "usr")
    fail("the package installs outside /usr: ${top}")
  endif()
else()
  message(FATAL_ERROR "MODE must be install or package")
endif()

# ---- Where every file belongs ------------------------------------------------------------------------------
# <path below the prefix>|<what it is>
set(layout
    "bin/vesmarin|program"
    "share/vesmarin/TembrillUK.hlp|help"
    "share/vesmarin/TembrillGR.hlp|help"
    "share/applications/${APP_ID}.desktop|desktop"
    "share/metainfo/${APP_ID}.metainfo.xml|metainfo"
    "share/icons/hicolor/scalable/apps/${APP_ID}.svg|svg"
    "share/doc/vesmarin/LICENSE|license")
if(EXPECT_TOOL)
  list(APPEND layout "bin/vesmarin-icons|program" "bin/vesmarin-thumbnailer|program"
       "share/thumbnailers/vesmarin.thumbnailer|thumbnailer")
endif()
foreach(size ${ICON_SIZES})
  list(APPEND layout "share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png|png${size}")
endforeach()

set(expected)
foreach(row ${layout})
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 path)
  list(GET row 1 kind)
  list(APPEND expected ${path})
  set(file ${prefix}/${path})
  if(NOT EXISTS ${file})
    fail("missing: ${path}")
    continue()
  endif()

  if(kind STREQUAL "program")
    execute_process(COMMAND test -x ${file} RESULT_VARIABLE not_executable)
    if(not_executable)
      fail("not executable: ${path}")
    endif()
  elseif(kind MATCHES "^png([0-9]+)$")
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    set(size ${CMAKE_MATCH_1})
    file(READ ${file} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
      fail("${path} is not a ${size}x${size} PNG picture (${width}x${height})")
    endif()
  endif()
endforeach()

# Nothing else is installed.
file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/*)
foreach(path ${installed})
  if(NOT path IN_LIST expected)
    fail("installed but not expected: ${path}")
  endif()
endforeach()

# ---- The desktop entry, the metainfo and the icons name one another ---------------------------------------
set(desktop ${prefix}/share/applications/${APP_ID}.desktop)
if(EXISTS ${desktop})
  file(STRINGS ${desktop} lines ENCODING UTF-8)
  set(exec "")
  set(icon "")
  foreach(line ${lines})
    if(line MATCHES "^Exec=([^ ]+)")
      set(exec ${CMAKE_MATCH_1})
    elseif(line MATCHES "^Icon=(.+)$")
      set(icon ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(NOT EXISTS ${prefix}/bin/${exec})
    fail("the desktop entry starts \"${exec}\", which is not installed in bin")
  endif()
  if(NOT icon STREQUAL APP_ID)
    fail("the desktop entry's icon is \"${icon}\", not the installed ${APP_ID}")
  endif()
endif()

set(metainfo ${prefix}/share/metainfo/${APP_ID}.metainfo.xml)
if(EXISTS ${metainfo})
  file(READ ${metainfo} xml)
  if(NOT xml MATCHES "<id>${APP_ID}</id>")
    fail("the metainfo component id is not ${APP_ID}")
  endif()
  if(NOT xml MATCHES "<launchable type=\"desktop-id\">${APP_ID}\\.desktop</launchable>")
    fail("the metainfo does not launch ${APP_ID}.desktop")
  endif()
  if(NOT xml MATCHES "<release version=\"${VERSION}\" date=\"[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\"")
    fail("the metainfo's release is not version ${VERSION} with a date")
  endif()
  string(REGEX MATCHALL "<binary>[^<]*</binary>" binaries "${xml}")
  foreach(binary ${binaries})
    string(REGEX REPLACE "</?binary>" "" binary "${binary}")
    if(EXPECT_TOOL OR NOT binary STREQUAL "vesmarin-icons")
      if(NOT EXISTS ${prefix}/bin/${binary})
        fail("the metainfo provides ${binary}, which is not installed in bin")
      endif()
    endif()
  endforeach()
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} problem(s) with the ${MODE} layout")
endif()
message(STATUS "The ${MODE} layout holds: every file where it belongs")
