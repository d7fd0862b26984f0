# Fails when the library exports a dynamic symbol outside its model classes, a const member function
# (clients declare none), or a data member other than Model_QuorParam::gOledLength (a static
# constexpr member bound to a reference in a debug build, for one). With CLASSES, a |-separated
# list, it checks that the companion library exports those classes' symbols and nothing else.
#   cmake -DLIBRARY=<path to libdevicemodel.so> [-DCLASSES=ModelState] -P exportedsymbols.cmake
if(NOT LIBRARY)
    message(FATAL_ERROR "pass -DLIBRARY=<shared library>")
endif()
find_program(NM NAMES nm REQUIRED)
execute_process(COMMAND ${NM} -D -C --defined-only ${LIBRARY}
    OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

if(CLASSES)
    set(classes "${CLASSES}")
    set(core OFF)
else()
    set(classes "ModelCalyth|ModelScene|ModelBankPlayer|ModelIC|model_GlobalEnum|Model_QuorParam|model_topology_param|model_API_param|model_Protocoldata|model_OsdParam")
    set(core ON)
endif()
string(REPLACE "\n" ";" lines "${symbols}")
set(count 0)
set(strays "")
foreach(line IN LISTS lines)
    if(line STREQUAL "")
        continue()
    endif()
    # "<address> <type> <name>"; absolute symbols (type A) are the version nodes of the linker.
    string(REGEX REPLACE "^[0-9a-f]+ ([A-Za-z]) (.*)$" "\\1;\\2" parts "${line}")
    list(GET parts 0 type)
    list(GET parts 1 name)
    if(type STREQUAL "A")
        continue()
    endif()
    math(EXPR count "${count} + 1")
    if(core AND name MATCHES "\\) const$")
        string(APPEND strays "  ${line}   (a const member function)\n")
    elseif(core AND name MATCHES "^(${classes})::[^(]*$" AND NOT name STREQUAL "Model_QuorParam::gOledLength")
        string(APPEND strays "  ${line}   (a data member)\n")
    elseif(NOT name MATCHES "^(${classes})::"
           AND NOT name MATCHES "^(vtable|typeinfo|typeinfo name) for (${classes})$")
        string(APPEND strays "  ${line}\n")
    endif()
endforeach()

if(count EQUAL 0)
    message(FATAL_ERROR "no exported symbols found in ${LIBRARY}")
endif()
if(NOT strays STREQUAL "")
    message(FATAL_ERROR "symbols exported that clients do not declare:\n${strays}")
endif()
message(STATUS "${count} exported symbols, all of ${classes}")
