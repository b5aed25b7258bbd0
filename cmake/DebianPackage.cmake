# The Debian package: `cpack -G DEB` in this build folder makes quillorn_<version>_<arch>.deb,
# the install tree under /usr laid out as Debian's (cmake/DebianStaging.cmake), its
# dependencies found by dpkg-shlibdeps.
function(quillorn_debian_package)
  set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
  quillorn_gzip(${QUILLORN_DEBIAN}/changelog ${changelog})
  add_custom_target(quillorn_changelog ALL DEPENDS ${changelog})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianStaging.cmake)
  set(CPACK_QUILLORN_DEBIAN_DOCS ${QUILLORN_DEBIAN}/copyright ${changelog})
  set(CPACK_PACKAGE_NAME quillorn)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_VENDOR "The Quillorn team")
  set(CPACK_PACKAGE_CONTACT ${QUILLORN_MAINTAINER})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game of guiding an invisible king through a castle by ear")
  # Read here rather than named as a file, which cpack would escape as XML.
  file(READ ${QUILLORN_DEBIAN}/description CPACK_PACKAGE_DESCRIPTION)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quillorn/Quillorn)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  include(CPack)
endfunction()
