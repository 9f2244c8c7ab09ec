# The changelog's latest entry is this release: its version must be the
# project's, and its date becomes the release date of the metadata and the
# man page, and the time every package records. Sets QUENN_CHANGELOG,
# QUENN_RELEASE_DATE (YYYY-MM-DD) and QUENN_SOURCE_DATE_EPOCH (its seconds
# since 1970, as SOURCE_DATE_EPOCH gives them to the tools).
set(QUENN_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUENN_CHANGELOG})
file(READ ${QUENN_CHANGELOG} changelog)

string(REGEX MATCH "^quenn \\(([^)]+)\\)" heading "${changelog}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/changelog: the latest entry is for '${CMAKE_MATCH_1}', "
                        "the project's version is ${PROJECT_VERSION}")
endif()

string(REGEX MATCH "\n -- [^\n]+  [A-Z][a-z][a-z], (([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [+-][0-9][0-9][0-9][0-9])\n"
       trailer "${changelog}")
if(NOT trailer)
    message(FATAL_ERROR "packaging/changelog: the latest entry has no ' -- name <mail>  date' line")
endif()
set(date ${CMAKE_MATCH_1})
set(day ${CMAKE_MATCH_2})
set(year ${CMAKE_MATCH_4})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_3} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
if(month LESS 10)
    set(month 0${month})
endif()
set(QUENN_RELEASE_DATE ${year}-${month}-${day})

execute_process(COMMAND date --utc "--date=${date}" +%s
    OUTPUT_VARIABLE QUENN_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "packaging/changelog: '${date}' is no date")
endif()
