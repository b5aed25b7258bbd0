# The Debian package: `cpack -G DEB` in this build folder makes quillorn_<version>_amd64.deb,
# the install tree under /usr plus the copyright file and the changelog, its dependencies
# found by dpkg-shlibdeps. packaging/debian/changelog is the release record: its newest entry
# must be this project's version, and it gives the release date (the metainfo's and the
# manual's) and the maintainer.
set(QUILLORN_DEBIAN ${PROJECT_SOURCE_DIR}/packaging/debian)

file(STRINGS ${QUILLORN_DEBIAN}/changelog changelog)
list(GET changelog 0 newest)
if(NOT newest MATCHES "^quillorn \\(([^)]+)\\) ")
  message(FATAL_ERROR "packaging/debian/changelog: '${newest}' is not a changelog entry")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/debian/changelog's newest entry is ${CMAKE_MATCH_1}, the "
                      "project is ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()
foreach(line ${changelog})
  if(line MATCHES "^ -- (.+>)  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ")
    set(QUILLORN_MAINTAINER ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_4})
    math(EXPR day "${CMAKE_MATCH_2}")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_3} month)
    math(EXPR month "${month} + 1")
    string(REGEX REPLACE "^([0-9])$" "0\\1" month ${month})
    string(REGEX REPLACE "^([0-9])$" "0\\1" day ${day})
    set(QUILLORN_RELEASE_DATE ${year}-${month}-${day})
    break()
  endif()
endforeach()
if(NOT QUILLORN_RELEASE_DATE)
  message(FATAL_ERROR "packaging/debian/changelog: the newest entry has no ' -- name <mail>  date' line")
endif()

# Debian wants the changelog and the manual compressed at the highest level and without a
# time stamp (gzip -9n), so that the same sources give the same package.
function(quillorn_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND gzip -9n -c ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()

function(quillorn_debian_package)
  set(out ${CMAKE_BINARY_DIR}/packaging)
  configure_file(${PROJECT_SOURCE_DIR}/data/desktop/quillorn.6.in ${out}/quillorn.6 @ONLY)
  quillorn_gzip(${out}/quillorn.6 ${out}/quillorn.6.gz)
  quillorn_gzip(${QUILLORN_DEBIAN}/changelog ${out}/changelog.gz)
  add_custom_target(quillorn_package_docs ALL DEPENDS ${out}/quillorn.6.gz ${out}/changelog.gz)
  # The manual belongs to every install; the copyright file and the changelog, in Debian's
  # forms, only to the package (the component that cpack adds below).
  install(FILES ${out}/quillorn.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${QUILLORN_DEBIAN}/copyright ${out}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillorn COMPONENT debian EXCLUDE_FROM_ALL)

  set(CPACK_GENERATOR DEB)
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/" "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianGamesDir.cmake)
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
