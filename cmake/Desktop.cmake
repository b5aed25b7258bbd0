# The game as a desktop application: one reverse-DNS id for the launcher entry, the icons and
# the AppStream metainfo, and the install rules that put them where desktops look.
include(GNUInstallDirs)

set(QUILLORN_APP_ID io.github.quillorn.Quillorn)
set(QUILLORN_ICON_SIZES 16 32 48 64 128 256)

function(quillorn_install_desktop_files)
  set(data ${PROJECT_SOURCE_DIR}/data/desktop)
  set(metainfo ${CMAKE_BINARY_DIR}/desktop/${QUILLORN_APP_ID}.metainfo.xml)
  configure_file(${data}/${QUILLORN_APP_ID}.metainfo.xml.in ${metainfo} @ONLY)
  install(TARGETS quillorn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${data}/${QUILLORN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Drawn at build time by tools/icons.
  install(DIRECTORY ${CMAKE_BINARY_DIR}/desktop/icons/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endfunction()
