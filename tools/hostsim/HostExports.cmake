# bk_host_def(<out-file> [OMIT <name>]): writes the .def file that exports the
# host's BKA_ entry points from a program linking HostExports.cpp, by their
# plain names (the linker's stdcall fixup finds the decorated functions). The
# names come from the plug-in's own list, src/host/HostEntryPoints.inc. OMIT
# leaves one name out, to play a host that lacks it.
function(bk_host_def out)
    cmake_parse_arguments(D "" "OMIT" "" ${ARGN})
    set(list ${PROJECT_SOURCE_DIR}/src/host/HostEntryPoints.inc)
    file(STRINGS ${list} lines REGEX "^BK_(CALLED|BOUND)\\(")
    set(text "EXPORTS\n")
    set(count 0)
    foreach(line ${lines})
        string(REGEX REPLACE "^BK_[A-Z]+\\(([A-Za-z0-9_]+).*" "\\1" name "${line}")
        math(EXPR count "${count} + 1")
        if(NOT name STREQUAL D_OMIT)
            string(APPEND text "    ${name}\n")
        endif()
    endforeach()
    if(NOT count EQUAL 54)
        message(FATAL_ERROR "${list}: ${count} entry points, 54 expected")
    endif()
    file(WRITE ${out} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list})
endfunction()
