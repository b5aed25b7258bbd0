# The game as a desktop application: one reverse-DNS id for the launcher entry, the icons and
# the AppStream metainfo, and the install rules that put them, and the manual page, where
# desktops look.
include(GNUInstallDirs)
include(ReleaseRecord)

set(QUILLORN_APP_ID io.github.quillorn.Quillorn)
set(QUILLORN_ICON_SIZES 16 32 48 64 128 256)
# Installed folders are rwxr-xr-x whatever the builder's umask (002 on many desktops), as
# packages must have them.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian wants the changelog and the manual compressed at the highest level and without a
# time stamp (gzip -9n), so that the same sources give the same package.
function(quillorn_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9n -c ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()

function(quillorn_install_desktop_files)
  set(data ${PROJECT_SOURCE_DIR}/data/desktop)
  set(metainfo ${CMAKE_BINARY_DIR}/desktop/${QUILLORN_APP_ID}.metainfo.xml)
  configure_file(${data}/${QUILLORN_APP_ID}.metainfo.xml.in ${metainfo} @ONLY)
  install(TARGETS quillorn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${data}/${QUILLORN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(manual ${CMAKE_BINARY_DIR}/packaging/quillorn.6)
  configure_file(${data}/quillorn.6.in ${manual} @ONLY)
  quillorn_gzip(${manual} ${manual}.gz)
  add_custom_target(quillorn_manual ALL DEPENDS ${manual}.gz)
  install(FILES ${manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  # Drawn at build time by tools/icons.
  install(DIRECTORY ${CMAKE_BINARY_DIR}/desktop/icons/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endfunction()
