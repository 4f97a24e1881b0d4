# Warnings for our own targets only; third-party headers stay quiet.
function(vesmarin_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
endfunction()

if(VESMARIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Hardened as Debian builds its own packages: the checked forms of the C library's buffer functions in
# optimised builds, and relocations made read-only before the program starts, for programs that read files
# from anywhere. The sanitizers check memory themselves and do not mix with the checked functions.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT VESMARIN_SANITIZE)
  add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  add_link_options(LINKER:-z,relro,-z,now)
endif()

# vesmarin_library(<name> [WINDOWS] <sources...> LINK <libraries...>): a static library of the project, its
# headers reached from the source root ("base/Settings.h"). WINDOWS runs the toolkit's moc over it.
function(vesmarin_library name)
  cmake_parse_arguments(L "WINDOWS" "" "LINK" ${ARGN})
  add_library(${name} STATIC ${L_UNPARSED_ARGUMENTS})
  set_property(GLOBAL APPEND PROPERTY VESMARIN_LIBRARY_DIRECTORIES ${CMAKE_CURRENT_SOURCE_DIR})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LINK})
  if(L_WINDOWS)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  vesmarin_set_warnings(${name})
endfunction()
