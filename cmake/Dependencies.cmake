# Finds the Debian packages the engine links against (scripts/packages.txt lists them)
# and builds the Dear ImGui SDL2 and OpenGL3 back-ends from the sources libimgui-dev installs.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(spdlog REQUIRED)
find_package(fmt REQUIRED)
find_package(nlohmann_json 3 REQUIRED)
find_package(glm REQUIRED)

pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(LUA REQUIRED IMPORTED_TARGET lua5.3-c++)
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
pkg_check_modules(VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile)
# The window's real size on X11 (platform/DrawableSize).
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)

# libimgui-dev ships the back-end sources as examples rather than compiling them in.
set(VANTREL_IMGUI_BACKEND_DIRS
    /usr/share/doc/libimgui-dev/examples/backends
    /usr/share/imgui/backends)
find_file(VANTREL_IMGUI_IMPL_SDL imgui_impl_sdl.cpp PATHS ${VANTREL_IMGUI_BACKEND_DIRS} NO_DEFAULT_PATH)
find_file(VANTREL_IMGUI_IMPL_OPENGL3 imgui_impl_opengl3.cpp PATHS ${VANTREL_IMGUI_BACKEND_DIRS} NO_DEFAULT_PATH)
if(NOT VANTREL_IMGUI_IMPL_SDL OR NOT VANTREL_IMGUI_IMPL_OPENGL3)
    message(FATAL_ERROR
        "Dear ImGui's SDL2 and OpenGL3 back-end sources (imgui_impl_sdl.cpp, imgui_impl_opengl3.cpp) "
        "were not found in ${VANTREL_IMGUI_BACKEND_DIRS}. Install libimgui-dev: scripts/install-deps")
endif()

add_library(vantrel_imgui_backends STATIC ${VANTREL_IMGUI_IMPL_SDL} ${VANTREL_IMGUI_IMPL_OPENGL3})
target_include_directories(vantrel_imgui_backends PUBLIC /usr/include/imgui/backends)
target_link_libraries(vantrel_imgui_backends PUBLIC PkgConfig::IMGUI PkgConfig::SDL2 PkgConfig::EPOXY ${CMAKE_DL_LIBS})
set_target_properties(vantrel_imgui_backends PROPERTIES POSITION_INDEPENDENT_CODE ON)

add_library(vantrel_thirdparty INTERFACE)
target_link_libraries(vantrel_thirdparty INTERFACE
    vantrel_imgui_backends
    PkgConfig::IMGUI PkgConfig::SDL2 PkgConfig::SDL2_MIXER PkgConfig::EPOXY PkgConfig::LUA PkgConfig::STB PkgConfig::VORBISFILE PkgConfig::X11
    spdlog::spdlog fmt::fmt nlohmann_json::nlohmann_json glm::glm Threads::Threads)
