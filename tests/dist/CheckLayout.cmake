# Installs Vesmarin into a scratch folder, or builds its Debian package and unpacks it there, and checks that
# every file lands where it belongs, that nothing else is installed, that the desktop entry, the metainfo and
# the icons name one another correctly, that the manual pages render without a warning, and that Debian's
# copyright file and changelog say what LICENSE and the release say. The package must also pass lintian
# without an error.
#
# cmake -DMODE=install|package -DBUILD_DIR=<build folder> -DWORK_DIR=<scratch folder> -DVERSION=<x.y.z>
#       -DDEB_RELEASE=<n> -DRELEASE_DATE=<yyyy-mm-dd> -DPROGRAMS=<name,name...> -DLICENSE=<LICENSE file>
#       -P CheckLayout.cmake

cmake_minimum_required(VERSION 3.25)

set(APP_ID io.github.vesmarin.Vesmarin)
set(ICON_SIZES 16 32 48 64 128 256)

foreach(var MODE BUILD_DIR WORK_DIR VERSION DEB_RELEASE RELEASE_DATE PROGRAMS LICENSE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckLayout.cmake needs -D${var}=...")
  endif()
endforeach()
string(REPLACE "," ";" PROGRAMS "${PROGRAMS}")
set(DEB_VERSION ${VERSION}-${DEB_RELEASE})

# The count lives in a global property, so that the checking functions add to it too.
set_property(GLOBAL PROPERTY failures 0)
function(fail text)
  message(SEND_ERROR "${text}")
  get_property(failures GLOBAL PROPERTY failures)
  math(EXPR failures "${failures} + 1")
  set_property(GLOBAL PROPERTY failures ${failures})
endfunction()

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
  if(NOT deb_name MATCHES "^vesmarin_${DEB_VERSION}_[a-z0-9]+\\.deb$")
    fail("the package is named ${deb_name}")
  endif()

  # The control fields a user and apt see.
  foreach(row "Package=^vesmarin$" "Version=^${DEB_VERSION}$" "Section=^graphics$"
              "Maintainer=^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$"
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

  # Debian's own checks of a package; its warnings are shown in the test's output.
  find_program(LINTIAN lintian)
  if(NOT LINTIAN)
    fail("lintian is not installed (scripts/deps.sh test installs it)")
  else()
    execute_process(COMMAND ${LINTIAN} --fail-on error ${debs} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    message(STATUS "lintian:\n${out}")
    if(NOT rc EQUAL 0)
      fail("lintian reports errors (status ${rc}):\n${out}${err}")
    endif()
  endif()
else()
  message(FATAL_ERROR "MODE must be install or package")
endif()

# ---- Checks of single files -------------------------------------------------------------------------------
# A manual page renders at 80 columns without a warning from man or groff, under the program's name.
function(check_manual_page file path)
  get_filename_component(name ${path} NAME)
  string(REGEX REPLACE "\\.1\\.gz$" "" name "${name}")
  string(TOUPPER "${name}" title)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l ${file}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE page ERROR_VARIABLE warnings)
  if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
    fail("${path} does not render cleanly (status ${rc}):\n${warnings}")
  elseif(NOT page MATCHES "^${title}\\(1\\)" OR NOT page MATCHES "\nNAME\n +${name} +- ")
    fail("${path} is not the page of ${name}")
  endif()
endfunction()

# Debian's machine-readable copyright format: one paragraph for every file, under the license whose text
# and copyright line are those of LICENSE.
function(check_copyright file)
  file(READ ${file} text)
  file(READ ${LICENSE} license)
  if(NOT license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n+(.*[^\n])\n*$")
    message(FATAL_ERROR "${LICENSE} has no copyright line")
  endif()
  set(holder "${CMAKE_MATCH_1}")
  set(license_text "${CMAKE_MATCH_2}")
  if(NOT text MATCHES "^Format: https://www\\.debian\\.org/doc/packaging-manuals/copyright-format/1\\.0/\n")
    fail("the copyright file does not start with the machine-readable Format line")
  endif()
  if(NOT text MATCHES "\n\nFiles: \\*\nCopyright: ([^\n]+)\nLicense: ([^\n]+)\n")
    fail("the copyright file has no paragraph \"Files: *\" with Copyright and License")
    return()
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL holder)
    fail("the copyright file says \"${CMAKE_MATCH_1}\", LICENSE says \"${holder}\"")
  endif()
  set(name "${CMAKE_MATCH_2}")
  # The license's own paragraph: its text follows, each line indented by a space, " ." for an empty line.
  if(NOT text MATCHES "\n\nLicense: ${name}\n(( [^\n]*\n)+)")
    fail("the copyright file has no text for the license ${name}")
    return()
  endif()
  string(REGEX REPLACE "\n$" "" body "\n${CMAKE_MATCH_1}")
  # A line of blanks alone would end the paragraph for Debian's parsers.
  if("${body}\n" MATCHES "\n +\n")
    fail("the license text in the copyright file has a line of blanks instead of \" .\"")
  endif()
  string(REPLACE "\n ." "\n" body "${body}")
  string(REPLACE "\n " "\n" body "${body}")
  string(REGEX REPLACE "^\n" "" body "${body}")
  if(NOT body STREQUAL license_text)
    fail("the license text in the copyright file is not that of LICENSE:\n${body}")
  endif()
endfunction()

# The changelog's newest entry is the package's version, of the release's day.
function(check_changelog file)
  execute_process(COMMAND gzip -dc ${file} OUTPUT_FILE ${WORK_DIR}/changelog RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    fail("the changelog is not a gzip file")
    return()
  endif()
  foreach(field Version Date)
    execute_process(COMMAND dpkg-parsechangelog -l ${WORK_DIR}/changelog -S ${field} RESULT_VARIABLE rc
                    OUTPUT_VARIABLE ${field} ERROR_VARIABLE err OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
      fail("dpkg-parsechangelog cannot read the changelog: ${err}")
      return()
    endif()
  endforeach()
  string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" _ "${RELEASE_DATE}")
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  math(EXPR month "${CMAKE_MATCH_2} - 1")
  list(GET months ${month} month)
  set(day "${CMAKE_MATCH_3} ${month} ${CMAKE_MATCH_1}")
  if(NOT Version STREQUAL DEB_VERSION OR NOT Date MATCHES "^[A-Z][a-z][a-z], ${day} ")
    fail("the changelog's newest entry is ${Version} of ${Date}, not ${DEB_VERSION} of ${RELEASE_DATE}")
  endif()
endfunction()

# ---- Where every file belongs ------------------------------------------------------------------------------
# <path below the prefix>|<what it is>
set(layout
    "share/vesmarin/TembrillUK.hlp|help"
    "share/vesmarin/TembrillGR.hlp|help"
    "share/applications/${APP_ID}.desktop|desktop"
    "share/metainfo/${APP_ID}.metainfo.xml|metainfo"
    "share/icons/hicolor/scalable/apps/${APP_ID}.svg|svg"
    "share/doc/vesmarin/copyright|copyright"
    "share/doc/vesmarin/changelog.Debian.gz|changelog"
    "share/thumbnailers/vesmarin.thumbnailer|thumbnailer")
# Each program comes with its manual page.
foreach(program ${PROGRAMS})
  list(APPEND layout "bin/${program}|program" "share/man/man1/${program}.1.gz|manual")
endforeach()
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
  elseif(kind STREQUAL "manual")
    check_manual_page(${file} ${path})
  elseif(kind STREQUAL "copyright")
    check_copyright(${file})
  elseif(kind STREQUAL "changelog")
    check_changelog(${file})
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
  set(arguments "")
  set(icon "")
  foreach(line ${lines})
    if(line MATCHES "^Exec=([^ ]+)(.*)$")
      set(exec ${CMAKE_MATCH_1})
      set(arguments "${CMAKE_MATCH_2}")
    elseif(line MATCHES "^Icon=(.+)$")
      set(icon ${CMAKE_MATCH_1})
    elseif(line MATCHES "^MimeType=.*inode/directory")
      fail("the desktop entry offers to open every folder, which may make it the desktop's folder handler")
    endif()
  endforeach()
  if(NOT EXISTS ${prefix}/bin/${exec})
    fail("the desktop entry starts \"${exec}\", which is not installed in bin")
  endif()
  # The program takes one local folder: a file manager's "Open with" passes it as %f.
  if(NOT arguments STREQUAL " %f")
    fail("the desktop entry passes \"${arguments}\" to the program, not one folder (%f)")
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
  if(NOT xml MATCHES "<release version=\"${VERSION}\" date=\"${RELEASE_DATE}\"")
    fail("the metainfo's release is not version ${VERSION} of ${RELEASE_DATE}")
  endif()
  string(REGEX MATCHALL "<binary>[^<]*</binary>" binaries "${xml}")
  foreach(binary ${binaries})
    string(REGEX REPLACE "</?binary>" "" binary "${binary}")
    if(NOT EXISTS ${prefix}/bin/${binary})
      fail("the metainfo provides ${binary}, which is not installed in bin")
    endif()
  endforeach()
endif()

get_property(failures GLOBAL PROPERTY failures)
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} problem(s) with the ${MODE} layout")
endif()
message(STATUS "The ${MODE} layout holds: every file where it belongs")
