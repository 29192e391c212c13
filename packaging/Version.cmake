# Writes the program's version, run on every build (cmake -P) so that a new commit shows in it:
# the project's version, then how many commits and which one built it, as git describe tells
# (0.1.0+git306.g0c27eac; counted from the release tag v0.1.0 once there is one, and ".dirty"
# when the tree has uncommitted changes). A tree without git gives the project's version alone.
# It goes into the program's header, version.txt (for the packages), and the files that carry it
# to the desktop: the manual page and the AppStream metadata, with the commit's date. Each is
# rewritten only when it changes, so nothing rebuilds for nothing.
#
#   cmake -DPROJECT_VERSION=0.1.0 -DSOURCE_DIR=<source> -DOUT_DIR=<build>/packaging
#         -DHEADER=<build>/generated/CastrelleVersion.h -DAPP_ID=<id> -P Version.cmake

set(version "${PROJECT_VERSION}")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --tags --long --dirty=.dirty
                          --match "v${PROJECT_VERSION}"
                  OUTPUT_VARIABLE described RESULT_VARIABLE failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT failed AND described MATCHES "-([0-9]+)-g([0-9a-f]+)(\\.dirty)?$")
    # At the tag itself, clean: the release's own version.
    if(NOT CMAKE_MATCH_1 EQUAL 0 OR CMAKE_MATCH_3)
      set(version "${version}+${CMAKE_MATCH_1}.g${CMAKE_MATCH_2}${CMAKE_MATCH_3}")
    endif()
  else()
    # No release tag yet: the commits since the start, so that later builds sort later.
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-list --count HEAD
                    OUTPUT_VARIABLE count RESULT_VARIABLE failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --always --abbrev=7 --dirty=.dirty
                    OUTPUT_VARIABLE commit ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT failed AND count AND commit)
      set(version "${version}+git${count}.g${commit}")
    endif()
  endif()
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" log -1 --format=%cs
                  OUTPUT_VARIABLE date ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT date)
  string(TIMESTAMP date "%Y-%m-%d" UTC) # honours SOURCE_DATE_EPOCH
endif()

function(write_if_changed file text)
  if(EXISTS "${file}")
    file(READ "${file}" old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE "${file}" "${text}")
endfunction()

function(configure_if_changed template out)
  file(READ "${SOURCE_DIR}/packaging/${template}" text)
  string(CONFIGURE "${text}" text @ONLY)
  write_if_changed("${OUT_DIR}/${out}" "${text}")
endfunction()

set(CASTRELLE_VERSION "${version}")
set(CASTRELLE_VERSION_DATE "${date}")
write_if_changed("${HEADER}" "#pragma once\n#define CASTRELLE_VERSION \"${version}\"\n")
write_if_changed("${OUT_DIR}/version.txt" "${version}\n")
configure_if_changed(castrelle.6.in castrelle.6)
configure_if_changed(castrelle-quillmere.metainfo.xml.in "${APP_ID}.metainfo.xml")
configure_if_changed(castrelle-quillmere.desktop.in "${APP_ID}.desktop")
