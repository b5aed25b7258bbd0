# Run by cpack on its staging tree before it makes the .deb, for what only Debian's layout has:
# the program in /usr/games, where Debian keeps games' programs and every user's PATH has it,
# and the copyright file and the changelog in /usr/share/doc/quillorn, which an install into
# /usr/local does not get.
set(usr ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(RENAME ${usr}/bin ${usr}/games)
set(doc ${usr}/share/doc/quillorn)
file(COPY ${CPACK_QUILLORN_DEBIAN_DOCS} DESTINATION ${doc}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# Folders made here follow the builder's umask; packages must have them rwxr-xr-x.
file(CHMOD ${usr}/share/doc ${doc} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
