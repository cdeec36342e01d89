# bk_add_gtest(<name> [SOURCES <files...>] LIBS <targets...> [ARGS <args...>] [GUI] [HOST])
# One GoogleTest program, registered as one CTest test; its source defaults to
# <name>.cpp. In the win32 tree CTest runs it under Wine through the build
# tree's wine-run script. GUI marks tests that open windows (they need a
# display: run CTest under xvfb-run). HOST makes the program play the host
# (see tools/hostsim) so that it can load the real DLL.
function(bk_add_gtest name)
    cmake_parse_arguments(T "GUI;HOST" "" "SOURCES;LIBS;ARGS" ${ARGN})
    if(NOT T_SOURCES)
        set(T_SOURCES ${name}.cpp)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} bk_test_support GTest::gtest_main)
    if(T_HOST)
        bk_add_host(${name})
    endif()
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
    if(T_GUI)
        set_tests_properties(${name} PROPERTIES LABELS gui)
    endif()
endfunction()
