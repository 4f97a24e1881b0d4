# The libraries of the program and the libraries of the program each may link: the layers of
# docs/architecture.md as link rules. The toolkit, libpng and zlib are not listed. vesmarin_check_links(),
# called once every library is defined, stops the configuration when a library links one it may not, or when
# a library is missing from the table (so a new one is placed in the layers deliberately). The include check
# (cmake/CheckDependencies.cmake, the test dependency_layers) holds the same rules for the sources.
set(VESMARIN_LIBRARY_LINKS
    # the file replace, the base, the desktop seam, the icon reader and writer
    "vesmarin_filewrite:"
    "vesmarin_base:vesmarin_filewrite"
    "vesmarin_platform:"
    "vesmarin_iconreader:"
    "vesmarin_iconwriter:vesmarin_iconreader,vesmarin_filewrite"
    # the feature cores
    "vesmarin_paths_core:vesmarin_base"
    "vesmarin_browse_core:"
    "vesmarin_browse_export:vesmarin_base"
    "vesmarin_savedpaths_core:vesmarin_base"
    "vesmarin_language_core:"
    "vesmarin_about_core:"
    # what every window uses, and the feature windows
    "vesmarin_ui:vesmarin_base,vesmarin_platform"
    "vesmarin_paths:vesmarin_paths_core,vesmarin_ui"
    "vesmarin_browse:vesmarin_browse_core,vesmarin_browse_export,vesmarin_iconreader,vesmarin_iconwriter,vesmarin_ui"
    "vesmarin_savedpaths:vesmarin_savedpaths_core,vesmarin_ui"
    "vesmarin_language:vesmarin_language_core,vesmarin_ui"
    "vesmarin_about:vesmarin_about_core,vesmarin_ui"
    # the main window, and what the programs add
    "vesmarin_app:vesmarin_paths,vesmarin_browse,vesmarin_savedpaths,vesmarin_language,vesmarin_about,vesmarin_ui"
    "vesmarin_app_icon:"
    "vesmarin_iconstool:vesmarin_iconreader,vesmarin_iconwriter,vesmarin_filewrite,vesmarin_browse_core")

function(vesmarin_check_links)
  set(known "")
  foreach(row ${VESMARIN_LIBRARY_LINKS})
    string(REPLACE ":" ";" row "${row}")
    list(GET row 0 library)
    list(LENGTH row n)
    set(allowed "")
    if(n GREATER 1)
      list(GET row 1 allowed)
      string(REPLACE "," ";" allowed "${allowed}")
    endif()
    list(APPEND known ${library})
    if(NOT TARGET ${library})
      message(FATAL_ERROR "cmake/Layers.cmake names ${library}, which the build does not define")
    endif()
    get_target_property(links ${library} LINK_LIBRARIES)
    get_target_property(interface ${library} INTERFACE_LINK_LIBRARIES)
    foreach(link ${links} ${interface})
      # The toolkit's own object libraries of compiled-in resources (vesmarin_language_resources_1).
      if(link MATCHES "^vesmarin_" AND NOT link MATCHES "^${library}_resources_[0-9]+$" AND NOT link IN_LIST allowed)
        message(FATAL_ERROR "${library} links ${link}, against the layers (cmake/Layers.cmake)")
      endif()
    endforeach()
  endforeach()
  # Every library of the program is placed in the table.
  get_property(directories GLOBAL PROPERTY VESMARIN_LIBRARY_DIRECTORIES)
  foreach(dir ${directories})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(target MATCHES "^vesmarin_" AND type STREQUAL "STATIC_LIBRARY" AND NOT target IN_LIST known)
        message(FATAL_ERROR "The library ${target} has no place in cmake/Layers.cmake")
      endif()
    endforeach()
  endforeach()
endfunction()
