# devicemodel_install_pkgconfig(NAME <name> LIBRARY <library> REQUIRES <module...>
#                               DESCRIPTION <text>)
# Installs <name>.pc into the library folder's pkgconfig/. Every .pc file of the project has the
# form of cmake/pkgconfig.pc.in: plain paths under the prefix the files are installed into, which
# is known only when they are: `cmake --install --prefix /opt/x` of a build configured for
# /usr/local writes /opt/x, a package's staging install (DESTDIR) writes /usr. Plain paths let
# pkg-config recognise the system's own folders (it leaves -L/usr/lib/<triplet> out) and give
# the same text for the same folder, so the include folder that two modules share appears once.
function(devicemodel_install_pkgconfig)
    cmake_parse_arguments(PARSE_ARGV 0 pc "" "NAME;LIBRARY;DESCRIPTION" "REQUIRES")
    list(JOIN pc_REQUIRES ", " pc_REQUIRES)
    # The prefix stays a placeholder until the install.
    set(DEVICEMODEL_PC_PREFIX "@DEVICEMODEL_PC_PREFIX@")
    set(template ${PROJECT_BINARY_DIR}/pkgconfig/${pc_NAME}.pc.in)
    set(installed ${PROJECT_BINARY_DIR}/pkgconfig/install/${pc_NAME}.pc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/pkgconfig.pc.in ${template} @ONLY)
    install(CODE "
        file(READ \"${template}\" pc)
        string(REGEX REPLACE \"(.)/+$\" \"\\\\1\" prefix \"\${CMAKE_INSTALL_PREFIX}\")
        string(REPLACE \"@DEVICEMODEL_PC_PREFIX@\" \"\${prefix}\" pc \"\${pc}\")
        file(WRITE \"${installed}\" \"\${pc}\")"
        COMPONENT dev)
    install(FILES ${installed} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endfunction()
