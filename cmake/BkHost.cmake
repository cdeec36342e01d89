# Programs that play the host (tests, benchmarks, the stand-in host tools/hostsim):
# they export the host's BKA_ entry points by their plain names (the linker's
# stdcall fixup finds the decorated functions of tools/hostsim/HostExports.cpp).

# bk_host_def(<out-file> [OMIT <name>]): writes the .def file that exports every
# name of the plug-in's own list, src/host/HostEntryPoints.inc. OMIT leaves one
# name out, to play a host that lacks it.
function(bk_host_def out)
    cmake_parse_arguments(D "" "OMIT" "" ${ARGN})
    set(list ${PROJECT_SOURCE_DIR}/src/host/HostEntryPoints.inc)
    file(STRINGS ${list} lines REGEX "^BK_(CALLED|BOUND)\\(")
    set(text "EXPORTS\n")
    foreach(line ${lines})
        string(REGEX REPLACE "^BK_[A-Z]+\\(([A-Za-z0-9_]+).*" "\\1" name "${line}")
        if(NOT name STREQUAL D_OMIT)
            string(APPEND text "    ${name}\n")
        endif()
    endforeach()
    file(CONFIGURE OUTPUT ${out} CONTENT "${text}" @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list})
endfunction()

# bk_add_host(<target>): makes <target> play the host: it links the stand-in
# (bk_hostsim) and exports the BKA_ entry points (the .def file is used for an
# executable only with ENABLE_EXPORTS); BK_BUILT_DLL names the built DLL.
function(bk_add_host target)
    target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/host.def)
    target_link_libraries(${target} PRIVATE bk_hostsim)
    set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
    target_compile_definitions(${target} PRIVATE BK_BUILT_DLL="Z:$<TARGET_FILE:bkQuorvel>")
    add_dependencies(${target} bkQuorvel)
endfunction()

if(BK_WIN32)
    bk_host_def(${CMAKE_BINARY_DIR}/host.def)
endif()
