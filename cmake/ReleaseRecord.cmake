# packaging/debian/changelog is the release record: its newest entry must be this project's
# version, and it gives the release date (the metainfo's and the manual's) and the maintainer
# (the package's).
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

