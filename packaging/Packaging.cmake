# The version, the desktop's files and what `cmake --install` puts under the prefix: the program
# in bin/, its data in share/castrelle-quillmere/ (where the program looks for it, from its own
# folder: the two destinations go together and are not configurable), a menu entry, icons at the
# hicolor theme's sizes, AppStream metadata, the manual page, the README and the copyright.
# Nothing of the tests, benchmarks or generators is installed.

set(CASTRELLE_APP_ID "org.castrellequillmere.CastrelleQuillmere")
set(CASTRELLE_PACKAGING_DIR "${CMAKE_BINARY_DIR}/packaging")
set(CASTRELLE_VERSION_HEADER "${GLEXT_GENERATED_DIR}/CastrelleVersion.h")

# Run on every build: a commit changes the version (packaging/Version.cmake).
add_custom_target(castrelle_version ALL
  COMMAND "${CMAKE_COMMAND}" "-DPROJECT_VERSION=${PROJECT_VERSION}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "-DOUT_DIR=${CASTRELLE_PACKAGING_DIR}" "-DHEADER=${CASTRELLE_VERSION_HEADER}"
          "-DAPP_ID=${CASTRELLE_APP_ID}" -P "${PROJECT_SOURCE_DIR}/packaging/Version.cmake"
  BYPRODUCTS "${CASTRELLE_VERSION_HEADER}" "${CASTRELLE_PACKAGING_DIR}/version.txt"
             "${CASTRELLE_PACKAGING_DIR}/castrelle.6" "${CASTRELLE_PACKAGING_DIR}/${CASTRELLE_APP_ID}.metainfo.xml"
             "${CASTRELLE_PACKAGING_DIR}/${CASTRELLE_APP_ID}.desktop"
  COMMENT "Taking the version from git"
  VERBATIM)
add_dependencies(castrelle castrelle_version)

# The icon: a frame of the title rendered by the program itself, cut and scaled by
# packaging/make-icons.sh. It is made again when the data or the script changes, not each time
# the program is relinked (that would add a render to every incremental build).
option(CASTRELLE_BUILD_ICONS "Render the application icons from a frame of the show" ${CASTRELLE_BUILD_DATA})
set(CASTRELLE_ICON_SIZES 16 32 48 64 128 256)
if(CASTRELLE_BUILD_ICONS)
  set(icons)
  foreach(size ${CASTRELLE_ICON_SIZES})
    list(APPEND icons "${CASTRELLE_PACKAGING_DIR}/icons/hicolor/${size}x${size}/apps/${CASTRELLE_APP_ID}.png")
  endforeach()
  add_custom_command(OUTPUT ${icons}
    COMMAND "${PROJECT_SOURCE_DIR}/packaging/make-icons.sh" "$<TARGET_FILE:castrelle>" "${CASTRELLE_DATA_DIR}"
            "${CASTRELLE_PACKAGING_DIR}/icons/hicolor" "${CASTRELLE_APP_ID}" ${CASTRELLE_ICON_SIZES}
    DEPENDS "${PROJECT_SOURCE_DIR}/packaging/make-icons.sh" "${CASTRELLE_DATA_DIR}/.assetgen-stamp"
            "${CASTRELLE_DATA_DIR}/Music/cq.mp3"
    COMMENT "Rendering the application icons"
    VERBATIM)
  add_custom_target(castrelle_icons ALL DEPENDS ${icons})
  add_dependencies(castrelle_icons castrelle castrelle_data)
  install(DIRECTORY "${CASTRELLE_PACKAGING_DIR}/icons/" DESTINATION share/icons)
endif()

install(TARGETS castrelle RUNTIME DESTINATION bin)
install(DIRECTORY "${CASTRELLE_DATA_DIR}/Images" "${CASTRELLE_DATA_DIR}/Models" "${CASTRELLE_DATA_DIR}/Music"
        DESTINATION share/castrelle-quillmere)
install(FILES "${CASTRELLE_PACKAGING_DIR}/${CASTRELLE_APP_ID}.desktop" DESTINATION share/applications)
install(FILES "${CASTRELLE_PACKAGING_DIR}/${CASTRELLE_APP_ID}.metainfo.xml" DESTINATION share/metainfo)
install(FILES "${CASTRELLE_PACKAGING_DIR}/castrelle.6" DESTINATION share/man/man6)
install(FILES README.md packaging/copyright DESTINATION share/doc/castrelle-quillmere)
