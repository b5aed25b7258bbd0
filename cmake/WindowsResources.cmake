# The Windows resource script, written by the host tools from the same sources as the
# embedded MENU and DIALOG resources (data/ui) and the same icon (tools/sheet).
set(rc_dir ${CMAKE_BINARY_DIR}/generated/windows)
set(ui_src ${PROJECT_SOURCE_DIR}/data/ui)
set(rc_parts)
foreach(entry "rc-menu;menu;MENU" "rc-menu;settings_menu;SETTINGS_MENU"
              "rc-dialog;dlg_help;DLG_HELP")
  list(GET entry 0 kind)
  list(GET entry 1 file)
  list(GET entry 2 name)
  add_custom_command(
    OUTPUT ${rc_dir}/${file}.rc
    COMMAND ${CMAKE_COMMAND} -E make_directory ${rc_dir}
    COMMAND ui_compile ${kind} ${ui_src}/${file}.txt ${name} ${rc_dir}/${file}.rc
    DEPENDS ui_compile ${ui_src}/${file}.txt
    VERBATIM)
  list(APPEND rc_parts ${rc_dir}/${file}.rc)
endforeach()
set(QUILLORN_ICON_FILE ${CMAKE_BINARY_DIR}/tools/sheet/quillorn.ico)
set(QUILLORN_MANIFEST_FILE ${PROJECT_SOURCE_DIR}/src/platform/win32/quillorn.exe.manifest)
configure_file(${PROJECT_SOURCE_DIR}/src/platform/win32/quillorn.rc.in ${rc_dir}/quillorn.rc @ONLY)
add_custom_target(windows_resource_script ALL DEPENDS ${rc_parts} sheet_resources)
