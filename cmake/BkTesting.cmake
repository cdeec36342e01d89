# bk_add_gtest(<name> SOURCES <files...> LIBS <targets...> [ARGS <args...>] [GUI])
# One GoogleTest program, registered as one CTest test. In the win32 tree CTest
# runs it under Wine through the build tree's wine-run script. GUI marks tests
# that open windows (they need a display: run CTest under xvfb-run).
function(bk_add_gtest name)
    cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;ARGS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} bk_test_support GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
    if(T_GUI)
        set_tests_properties(${name} PROPERTIES LABELS gui)
    endif()
endfunction()
