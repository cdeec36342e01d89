# The fuzz tree (-DBK_FUZZ=ON, clang; tools/fuzz.sh makes it in build/fuzz):
# the portable settings and platform code built with libFuzzer's coverage and
# with ASan and UBSan, and one libFuzzer program per target in tests/fuzz.
# Nothing else is built in this tree.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "BK_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
endif()
set(BK_WIN32 OFF)
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
add_subdirectory(src/platform)
add_subdirectory(src/settings)
add_subdirectory(tests/fuzz)
