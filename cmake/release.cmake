# The release is the newest entry of debian/changelog: its version is the project's version, and its
# date is the date of everything the build makes. Included before project(), so nothing else in the
# tree names a version or a date of its own.
#
# Sets DEVICEMODEL_RELEASE_VERSION (1.0.0), DEVICEMODEL_SOURCE_DATE_EPOCH (seconds since 1970, the
# environment's SOURCE_DATE_EPOCH where it is set, as dpkg-buildpackage does from the same entry)
# and DEVICEMODEL_RELEASE_MONTH ("December 2026", for the manual page). Configure-time time stamps
# take SOURCE_DATE_EPOCH from the environment, and so do the build steps that write dates
# (Doxygen), which get it explicitly: two builds of one source tree are identical.

set(_changelog ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_changelog})
file(STRINGS ${_changelog} _changelog_lines)

# "devicemodel (1.0.0) unstable; urgency=medium": a Debian revision after a dash is not part of
# the project's version.
list(GET _changelog_lines 0 _head)
if(NOT _head MATCHES "^devicemodel \\(([0-9]+\\.[0-9]+\\.[0-9]+)(-[^)]+)?\\) ")
    message(FATAL_ERROR "debian/changelog: the first line names no version: '${_head}'")
endif()
set(DEVICEMODEL_RELEASE_VERSION ${CMAKE_MATCH_1})

# The entry's trailer: " -- Name <address>  Sun, 06 Dec 2026 20:15:00 +0000".
foreach(_line IN LISTS _changelog_lines)
    if(_line MATCHES "^ -- .*>  (.+)$")
        set(_date "${CMAKE_MATCH_1}")
        break()
    endif()
endforeach()
if(NOT _date)
    message(FATAL_ERROR "debian/changelog: the newest entry has no trailer line with a date")
endif()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(DEVICEMODEL_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND date -u -d "${_date}" +%s
        OUTPUT_VARIABLE DEVICEMODEL_SOURCE_DATE_EPOCH
        OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE _status)
    if(NOT _status EQUAL 0 OR NOT DEVICEMODEL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        message(FATAL_ERROR "debian/changelog: cannot read the date '${_date}'")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} ${DEVICEMODEL_SOURCE_DATE_EPOCH})
endif()
# string(TIMESTAMP) reads SOURCE_DATE_EPOCH, and writes month names in English in any locale.
string(TIMESTAMP DEVICEMODEL_RELEASE_MONTH "%B %Y" UTC)

unset(_changelog)
unset(_changelog_lines)
unset(_head)
unset(_line)
unset(_date)
unset(_status)
