# The Windows build (a cross build, see cmake/mingw-w64-x86_64.cmake). The host tools run
# natively: a build of their own in host/ (this source tree with QUILLORN_HOST_TOOLS), or an
# already built native folder named by QUILLORN_HOST_BUILD, makes every resource, the
# generated sources and the resource script; this build compiles the game and the Win32
# backend for Windows and embeds what the tools made.
include(ExternalProject)

set(QUILLORN_HOST_BUILD "" CACHE PATH
    "A native build folder of this tree, already built, whose tools' outputs to use")
if(QUILLORN_HOST_BUILD)
  set(host_dir ${QUILLORN_HOST_BUILD})
else()
  set(host_dir ${CMAKE_BINARY_DIR}/host)
endif()
set(host_gen ${host_dir}/generated)
set(host_rc_dir ${host_gen}/windows)
set(host_sources ${host_gen}/embedded_resources.S ${host_gen}/font_glyphs.cpp
                 ${host_gen}/screenplay_lines.cpp)
set(host_rc_parts ${host_rc_dir}/quillorn.rc ${host_rc_dir}/menu.rc ${host_rc_dir}/settings_menu.rc
                  ${host_rc_dir}/dlg_help.rc
                  ${host_dir}/tools/sheet/quillorn.ico)

if(QUILLORN_HOST_BUILD)
  add_custom_target(host_tools)
else()
  set(host_args -DQUILLORN_HOST_TOOLS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
  foreach(var CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER)
    if(${var})
      list(APPEND host_args -D${var}=${${var}})
    endif()
  endforeach()
  ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${host_dir}
    CMAKE_ARGS ${host_args}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON  # its own build knows what is out of date
    BUILD_BYPRODUCTS ${host_sources} ${host_rc_parts})
endif()

# What the host tools made, as the libraries the native build makes of them.
set_source_files_properties(${host_sources} ${host_rc_parts} PROPERTIES GENERATED TRUE)
add_library(quillorn_resources STATIC ${host_gen}/embedded_resources.S)
add_library(quillorn_font STATIC ${host_gen}/font_glyphs.cpp)
target_include_directories(quillorn_font PRIVATE ${PROJECT_SOURCE_DIR}/src)
add_library(quillorn_screenplay STATIC ${host_gen}/screenplay_lines.cpp)
target_include_directories(quillorn_screenplay PUBLIC ${PROJECT_SOURCE_DIR}/src)
foreach(lib quillorn_resources quillorn_font quillorn_screenplay)
  add_dependencies(${lib} host_tools)
endforeach()

add_subdirectory(src)

enable_language(RC)
add_executable(quillorn WIN32 src/shell/main.cpp ${host_rc_dir}/quillorn.rc)
add_dependencies(quillorn host_tools)
# The script includes the menu and the dialog and names the icon and the manifest.
set_source_files_properties(${host_rc_dir}/quillorn.rc PROPERTIES OBJECT_DEPENDS
  "${host_rc_dir}/menu.rc;${host_rc_dir}/settings_menu.rc;${host_rc_dir}/dlg_help.rc;${host_dir}/tools/sheet/quillorn.ico;${PROJECT_SOURCE_DIR}/src/platform/win32/quillorn.exe.manifest")
target_link_libraries(quillorn PRIVATE quillorn_game
  -Wl,--whole-archive quillorn_platform_win32 -Wl,--no-whole-archive quillorn_resources)
quillorn_game_source_options(quillorn)
# One file that needs no DLL beyond Windows' own: the C and C++ runtimes linked in.
target_link_options(quillorn PRIVATE -static -static-libgcc -static-libstdc++ -s)

# A tool of the tests under Wine (tests/windows): posts a menu command to the running game.
add_executable(post_command tests/windows/post_command.cpp)
target_link_options(post_command PRIVATE -static -s)
