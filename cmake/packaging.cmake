# Debian packages of one build: `cpack -G DEB` in a build configured with the prefix /usr (the
# `package` preset, see .ci/packages). Every install() rule names one CPack component, and each
# component becomes one package:
#
#   component  package (Qt 5)         package (Qt 6)              what
#   runtime    libdevicemodel1        libdevicemodel-qt6-1        the shared library, named after
#                                                                 its SONAME
#   state      libdevicemodel-state1  libdevicemodel-state-qt6-1  the companion library
#   dev        libdevicemodel-dev     libdevicemodel-qt6-dev      headers, the .so links, the CMake
#                                                                 package, the pkg-config files
#   tools      devicemodel-tools      devicemodel-qt6-tools       modelinfo and its manual page
#   doc        libdevicemodel-doc     -                           the HTML manual and its Qt Help
#                                                                 file (when DEVICEMODEL_BUILD_DOCS)
#
# Package names come from the library's file name and SONAME version, so that a flavour or a
# companion library with a name of its own gets package names of its own: a library takes
# devicemodel_deb_library() and devicemodel_deb_package() for its runtime component, names the
# components in its install() rules, and its development files join a development package.

set(DEVICEMODEL_DEB_RELEASE 1 CACHE STRING "Debian revision of the packages")
set(DEVICEMODEL_DEB_MAINTAINER "devicemodel maintainers <devicemodel@example.org>"
    CACHE STRING "Maintainer field of the Debian packages")
set(DEVICEMODEL_DEB_VERSION ${PROJECT_VERSION}-${DEVICEMODEL_DEB_RELEASE})

set(DEVICEMODEL_DEB_DIR ${PROJECT_SOURCE_DIR}/cmake/deb)
set(DEVICEMODEL_DEB_BINARY_DIR ${PROJECT_BINARY_DIR}/deb)

# The changelog is kept by hand; its newest entry must name the version being packaged. A build
# for the prefix /usr is one for the packages, and stops; any other build only warns.
file(STRINGS ${DEVICEMODEL_DEB_DIR}/changelog _changelog_head LIMIT_COUNT 1)
if(NOT _changelog_head MATCHES "^devicemodel \\(${DEVICEMODEL_DEB_VERSION}\\) ")
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(_severity FATAL_ERROR)
    else()
        set(_severity WARNING)
    endif()
    message(${_severity} "cmake/deb/changelog: the newest entry is not version "
        "${DEVICEMODEL_DEB_VERSION}: '${_changelog_head}'")
endif()
# Debian ships changelogs compressed with maximal compression and without a time stamp (-n), so that
# two builds give the same package.
add_custom_command(OUTPUT ${DEVICEMODEL_DEB_BINARY_DIR}/changelog.Debian.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${DEVICEMODEL_DEB_DIR}/changelog changelog.Debian
    COMMAND gzip -9nf changelog.Debian
    DEPENDS ${DEVICEMODEL_DEB_DIR}/changelog
    WORKING_DIRECTORY ${DEVICEMODEL_DEB_BINARY_DIR}
    VERBATIM)
add_custom_target(deb_changelog ALL DEPENDS ${DEVICEMODEL_DEB_BINARY_DIR}/changelog.Debian.gz)

# devicemodel_deb_library_name(<var> <library target>): the library's file name without "lib" and
# ".so", as in "-ldevicemodel": devicemodel for the Qt 5 core library.
function(devicemodel_deb_library_name var target)
    get_target_property(name ${target} OUTPUT_NAME)
    if(NOT name)
        set(name ${target})
    endif()
    set(${var} ${name} PARENT_SCOPE)
endfunction()

# The runtime packages' shlibs files tell dpkg-shlibdeps which package a client of each SONAME
# needs. The same lines, beside links to the freshly built libraries in a package-like tree (a
# folder with DEBIAN/), give this build's other packages their dependencies on the libraries the
# way a client's package will get them.
set(DEVICEMODEL_DEB_SHLIBS_ROOT ${DEVICEMODEL_DEB_BINARY_DIR}/shlibs-root)
file(WRITE ${DEVICEMODEL_DEB_SHLIBS_ROOT}/DEBIAN/shlibs "")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${DEVICEMODEL_DEB_SHLIBS_ROOT}/lib)
# glibc refreshes the loader cache through its ldconfig trigger.
file(WRITE ${DEVICEMODEL_DEB_BINARY_DIR}/triggers "activate-noawait ldconfig\n")

# devicemodel_deb_library(<var> COMPONENT <component> TARGET <library target>): sets <var> to the
# Debian name of the library's runtime package, derived from its SONAME as the library policy has
# it (libfoo.so.1 is libfoo1, libfoo2.so.1 is libfoo2-1), and gives that component the library's
# shlibs file and the ldconfig trigger. The package itself comes from devicemodel_deb_package().
function(devicemodel_deb_library var)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "COMPONENT;TARGET" "")
    devicemodel_deb_library_name(name ${arg_TARGET})
    get_target_property(soversion ${arg_TARGET} SOVERSION)
    set(separator "")
    if(name MATCHES "[0-9]$")
        set(separator "-")
    endif()
    string(TOLOWER "lib${name}${separator}${soversion}" package)
    set(${var} ${package} PARENT_SCOPE)

    # A shlibs line names the library by its file name without ".so", and the SONAME version.
    set(line "lib${name} ${soversion} ${package} (>= ${PROJECT_VERSION})\n")
    set(shlibs ${DEVICEMODEL_DEB_BINARY_DIR}/${arg_COMPONENT}/shlibs)
    file(WRITE ${shlibs} "${line}")
    file(APPEND ${DEVICEMODEL_DEB_SHLIBS_ROOT}/DEBIAN/shlibs "${line}")
    add_custom_target(deb_shlibs_${arg_TARGET} ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory ${DEVICEMODEL_DEB_SHLIBS_ROOT}/lib
        COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${arg_TARGET}>
            ${DEVICEMODEL_DEB_SHLIBS_ROOT}/lib/$<TARGET_SONAME_FILE_NAME:${arg_TARGET}>
        VERBATIM)
    add_dependencies(deb_shlibs_${arg_TARGET} ${arg_TARGET})

    string(TOUPPER ${arg_COMPONENT} c)
    set(CPACK_DEBIAN_${c}_PACKAGE_CONTROL_EXTRA ${shlibs} ${DEVICEMODEL_DEB_BINARY_DIR}/triggers
        PARENT_SCOPE)
    set(CPACK_DEBIAN_${c}_PACKAGE_CONTROL_STRICT_PERMISSION ON PARENT_SCOPE)
endfunction()

# devicemodel_deb_wrap(<var> <paragraph>): the paragraph wrapped to lines that fit an 80-column
# description field after its leading space.
function(devicemodel_deb_wrap var text)
    string(REGEX REPLACE "[ \n]+" ";" words "${text}")
    set(wrapped "")
    set(line "")
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(line STREQUAL "")
            set(line "${word}")
        elseif(length GREATER 78)
            string(APPEND wrapped "${line}\n")
            set(line "${word}")
        else()
            string(APPEND line " ${word}")
        endif()
    endforeach()
    set(${var} "${wrapped}${line}" PARENT_SCOPE)
endfunction()

# devicemodel_deb_package(COMPONENT <component> NAME <package> SECTION <section>
#                         SUMMARY <synopsis> DESCRIPTION <paragraph>
#                         [DEPENDS <dependency>...] [ARCHITECTURE all] [SHLIBDEPS])
# Makes one CPack component into one Debian package and installs its copyright file and changelog.
# DESCRIPTION is the package's own paragraph of the long description, after the project's common
# one. SHLIBDEPS computes the shared library dependencies of its binaries with dpkg-shlibdeps.
function(devicemodel_deb_package)
    cmake_parse_arguments(PARSE_ARGV 0 arg "SHLIBDEPS"
        "COMPONENT;NAME;SECTION;SUMMARY;DESCRIPTION;ARCHITECTURE" "DEPENDS")
    string(TOUPPER ${arg_COMPONENT} c)
    set(CPACK_DEBIAN_${c}_PACKAGE_NAME ${arg_NAME} PARENT_SCOPE)
    set(CPACK_DEBIAN_${c}_PACKAGE_SECTION ${arg_SECTION} PARENT_SCOPE)
    devicemodel_deb_wrap(about "${DEVICEMODEL_DEB_ABOUT}")
    devicemodel_deb_wrap(own "${arg_DESCRIPTION}")
    set(CPACK_DEBIAN_${c}_DESCRIPTION "${arg_SUMMARY}\n${about}\n\n${own}" PARENT_SCOPE)
    set(CPACK_DEBIAN_${c}_PACKAGE_SHLIBDEPS ${arg_SHLIBDEPS} PARENT_SCOPE)
    if(arg_DEPENDS)
        list(JOIN arg_DEPENDS ", " depends)
        set(CPACK_DEBIAN_${c}_PACKAGE_DEPENDS "${depends}" PARENT_SCOPE)
    endif()
    if(arg_ARCHITECTURE)
        set(CPACK_DEBIAN_${c}_PACKAGE_ARCHITECTURE ${arg_ARCHITECTURE} PARENT_SCOPE)
    endif()
    set(CPACK_COMPONENTS_ALL ${CPACK_COMPONENTS_ALL} ${arg_COMPONENT} PARENT_SCOPE)

    # Only the package gets them: a plain `cmake --install` into a prefix leaves them out.
    set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${arg_NAME})
    install(FILES ${DEVICEMODEL_DEB_BINARY_DIR}/copyright
        DESTINATION ${docdir} COMPONENT ${arg_COMPONENT} EXCLUDE_FROM_ALL)
    install(FILES ${DEVICEMODEL_DEB_BINARY_DIR}/changelog.Debian.gz
        DESTINATION ${docdir} COMPONENT ${arg_COMPONENT} EXCLUDE_FROM_ALL)
endfunction()

# The first paragraph of every package's long description.
set(DEVICEMODEL_DEB_ABOUT "devicemodel is the parameter data model of the desktop control client \
for video processing devices: processors, scene switchers, bank players and IC matrix devices, and \
their control keyboards. For every device code it knows the capacities and builds the matching \
tree of parameter records, filled with defaults. It talks to no device itself.")

file(MAKE_DIRECTORY ${DEVICEMODEL_DEB_BINARY_DIR})
configure_file(${DEVICEMODEL_DEB_DIR}/copyright ${DEVICEMODEL_DEB_BINARY_DIR}/copyright COPYONLY)

# The core library and its tools. The development and tools packages are named after the library
# too, so that a flavour whose library has a name of its own has packages of its own.
devicemodel_deb_library(DEVICEMODEL_DEB_RUNTIME COMPONENT runtime TARGET devicemodel)
devicemodel_deb_library_name(_library devicemodel)
set(DEVICEMODEL_DEB_DEV lib${_library}-dev)
set(DEVICEMODEL_DEB_TOOLS ${_library}-tools)
set(DEVICEMODEL_DEB_DOC libdevicemodel-doc)
# The Qt 6 flavour's packages say so in their synopses; the Qt 5 ones keep theirs.
set(_flavour "")
if(QT_MAJOR_VERSION STREQUAL "6")
    set(_flavour " (Qt 6)")
endif()
# The development package brings the development files of the Qt its flavour builds against.
if(QT_MAJOR_VERSION STREQUAL "6")
    set(DEVICEMODEL_DEB_QT_DEV qt6-base-dev)
else()
    set(DEVICEMODEL_DEB_QT_DEV qtbase5-dev)
endif()

devicemodel_deb_package(COMPONENT runtime NAME ${DEVICEMODEL_DEB_RUNTIME} SECTION libs SHLIBDEPS
    SUMMARY "parameter data model of video processing devices - library${_flavour}"
    DESCRIPTION "This package contains the shared library.")
set(_dev_depends "${DEVICEMODEL_DEB_RUNTIME} (= ${DEVICEMODEL_DEB_VERSION})")
set(_dev_contents "the CMake package ${DEVICEMODEL_PACKAGE} (target \
${DEVICEMODEL_PACKAGE}::devicemodel) and the pkg-config file devicemodel${DEVICEMODEL_SUFFIX}.pc")
# The companion library: a runtime package of its own; its development files are in the CMake
# package of the core library, so they share its development package.
if(TARGET devicemodel_state)
    devicemodel_deb_library(DEVICEMODEL_DEB_STATE COMPONENT state TARGET devicemodel_state)
    devicemodel_deb_package(COMPONENT state NAME ${DEVICEMODEL_DEB_STATE} SECTION libs SHLIBDEPS
        SUMMARY "parameter data model of video processing devices - state snapshots${_flavour}"
        DESCRIPTION "This package contains the companion library devicemodel-state, which saves \
a model's whole state as a JSON document, restores it, checks a document and compares two.")
    list(APPEND _dev_depends "${DEVICEMODEL_DEB_STATE} (= ${DEVICEMODEL_DEB_VERSION})")
    set(_dev_contents "the CMake package ${DEVICEMODEL_PACKAGE} (targets \
${DEVICEMODEL_PACKAGE}::devicemodel and ${DEVICEMODEL_PACKAGE}::state) and the pkg-config files \
devicemodel${DEVICEMODEL_SUFFIX}.pc and devicemodel-state${DEVICEMODEL_SUFFIX}.pc")
endif()
devicemodel_deb_package(COMPONENT dev NAME ${DEVICEMODEL_DEB_DEV} SECTION libdevel
    DEPENDS ${_dev_depends} ${DEVICEMODEL_DEB_QT_DEV}
    SUMMARY "parameter data model of video processing devices - development files${_flavour}"
    DESCRIPTION "This package contains the headers, ${_dev_contents}.")
if(DEVICEMODEL_BUILD_TOOLS)
    devicemodel_deb_package(COMPONENT tools NAME ${DEVICEMODEL_DEB_TOOLS} SECTION utils SHLIBDEPS
        SUMMARY "parameter data model of video processing devices - inspector${_flavour}"
        DESCRIPTION "This package contains modelinfo${DEVICEMODEL_SUFFIX}, which shows what the models build for a \
device code, the known device codes, the port type names, the keyboard's key labels and the \
modules of a topology file, as text or JSON.")
endif()
if(DEVICEMODEL_BUILD_DOCS)
    devicemodel_deb_package(COMPONENT doc NAME ${DEVICEMODEL_DEB_DOC} SECTION doc ARCHITECTURE all
        SUMMARY "parameter data model of video processing devices - reference manual"
        DESCRIPTION "This package contains the reference manual of the library in HTML and, for \
Qt Creator and Qt Assistant, as a Qt Help file.")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME devicemodel)
set(CPACK_PACKAGE_VENDOR "devicemodel developers")
set(CPACK_PACKAGE_CONTACT ${DEVICEMODEL_DEB_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# CPackDeb puts the project's summary above each component's own unless the summary is CPack's
# default text; every package here has a synopsis of its own.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${DEVICEMODEL_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DEVICEMODEL_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SOURCE devicemodel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The build is RelWithDebInfo; the packages carry the binaries without their symbol tables.
set(CPACK_STRIP_FILES ON)
include(CPack)
