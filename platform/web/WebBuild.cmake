# The show for web browsers, configured with emcmake: the GL-free core, the shader renderer and
# the browser's platform files (*Web.cpp), linked into castrelle.js and castrelle.wasm, with the
# data the native build generated packed into castrelle.data and the page, index.html, beside
# them. No fixed-function renderer, SDL2, libGL, mpg123, libjpeg, libpng or capture code.

file(GLOB_RECURSE WEB_SOURCES CONFIGURE_DEPENDS
  app/*.cpp timeline/*.cpp assets/*.cpp render/*.cpp post/*.cpp anim/*.cpp
  math/*.cpp scenes/*.cpp glext/*.cpp platform/*.cpp)
# The fixed-function renderer's folders: the browser has the shader renderer alone.
list(FILTER WEB_SOURCES EXCLUDE REGEX "/(render|post)/fixed/")
# What the browser does otherwise (the page, WebGL 2, <audio>, stb_image) or does not do at all
# (captures, the desktop's GL, the command line).
foreach(native
    app/main.cpp app/Capture.cpp app/CapturePlan.cpp app/CaptureSinks.cpp app/CaptureStats.cpp
    app/CommandLine.cpp
    assets/TextureBankDecode.cpp
    glext/GlExtResolve.cpp
    platform/GlContext.cpp platform/Events.cpp platform/MessageBox.cpp platform/MusicStream.cpp
    platform/PngFile.cpp platform/VideoEncoder.cpp platform/DriverPin.cpp)
  list(REMOVE_ITEM WEB_SOURCES "${CMAKE_CURRENT_SOURCE_DIR}/${native}")
endforeach()

if(NOT EXISTS "${CASTRELLE_DATA_DIR}/Music/cq.mp3")
  message(FATAL_ERROR "No generated data in ${CASTRELLE_DATA_DIR}: build the native data first "
                      "(./build.sh web does) or point CASTRELLE_DATA_DIR at it")
endif()
file(GLOB_RECURSE WEB_DATA CONFIGURE_DEPENDS
  "${CASTRELLE_DATA_DIR}/Images/*" "${CASTRELLE_DATA_DIR}/Models/*" "${CASTRELLE_DATA_DIR}/Music/*")

add_executable(castrelle_web ${WEB_SOURCES} "${GLEXT_GENERATED_DIR}/glext/EsTable.cpp")
set_target_properties(castrelle_web PROPERTIES OUTPUT_NAME castrelle SUFFIX ".js"
  LINK_DEPENDS "${WEB_DATA}")
target_include_directories(castrelle_web PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}" "${GLEXT_GENERATED_DIR}"
  "${STB_INCLUDE_DIR}")
target_compile_definitions(castrelle_web PRIVATE CASTRELLE_SHADER_ONLY
  CASTRELLE_VERSION="${PROJECT_VERSION}")
target_link_libraries(castrelle_web PRIVATE castrelle_warnings)
target_link_options(castrelle_web PRIVATE
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sENVIRONMENT=web -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
  "-sEXPORTED_RUNTIME_METHODS=[\"callMain\"]"
  "-sEXPORTED_FUNCTIONS=[\"_main\"]"
  "SHELL:--preload-file ${CASTRELLE_DATA_DIR}/Images@/Images"
  "SHELL:--preload-file ${CASTRELLE_DATA_DIR}/Models@/Models"
  "SHELL:--preload-file ${CASTRELLE_DATA_DIR}/Music@/Music")

configure_file(platform/web/index.html "${CMAKE_BINARY_DIR}/index.html" COPYONLY)

# The page and what it loads: the folder a static web server serves, which `cmake --install`
# copies and ./build.sh package archives.
install(FILES "${CMAKE_BINARY_DIR}/index.html" "${CMAKE_BINARY_DIR}/castrelle.js"
              "${CMAKE_BINARY_DIR}/castrelle.wasm" "${CMAKE_BINARY_DIR}/castrelle.data"
        DESTINATION .)
