# Run by cpack on its staging tree before it makes the .deb: Debian keeps games' programs in
# /usr/games, not /usr/bin, and every user's PATH there has it.
set(usr ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(RENAME ${usr}/bin ${usr}/games)
