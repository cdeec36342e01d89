# Makes the package users download: <OUT>/bkQuorvel-<VERSION>.zip holding, in the
# folder bkQuorvel-<VERSION>/, the DLL, the user guide as bkQuorvel.html with the
# pictures it shows, LICENSE.txt and the sample quote file. Run by the "dist" target of the Windows tree:
#   cmake --build build/win32 --target dist
# Parameters (-D): DLL, IMAGE_CHECK (the DllImage_test program), WINE_RUN, VERSION,
# SOURCE_DIR, OUT, STAGE (a scratch folder).
#
# A DLL that fails the image checks (size, stripping, exports, imports, version)
# is not packaged, and no older package of the same name is left to be mistaken
# for it.
cmake_minimum_required(VERSION 3.21)  # file(COPY_FILE)
foreach(var DLL IMAGE_CHECK WINE_RUN VERSION SOURCE_DIR OUT STAGE)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "package.cmake needs -D${var}=...")
    endif()
endforeach()

set(name bkQuorvel-${VERSION})
set(zip ${OUT}/${name}.zip)
file(REMOVE ${zip})

set(ENV{BK_CHECKED_DLL} "Z:${DLL}")
execute_process(COMMAND ${WINE_RUN} ${IMAGE_CHECK} --gtest_brief=1
                RESULT_VARIABLE checked OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT checked EQUAL 0)
    message(FATAL_ERROR "not packaged, failed image checks:\n${DLL}\n${report}")
endif()

set(folder ${STAGE}/${name})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${folder} ${OUT})
file(COPY_FILE ${DLL} ${folder}/bkQuorvel.dll)
file(COPY_FILE ${SOURCE_DIR}/LICENSE ${folder}/LICENSE.txt)
file(COPY_FILE ${SOURCE_DIR}/docs/quotes-sample.txt ${folder}/quotes-sample.txt)
execute_process(COMMAND awk -f ${SOURCE_DIR}/tools/package/guide-html.awk
                        ${SOURCE_DIR}/docs/user-guide.md
                OUTPUT_FILE ${folder}/bkQuorvel.html RESULT_VARIABLE converted)
if(NOT converted EQUAL 0)
    message(FATAL_ERROR "not packaged: the user guide could not be converted")
endif()
# Every picture the guide shows goes beside it.
file(STRINGS ${folder}/bkQuorvel.html pictures REGEX "<img src=\"[^\"]+\"")
foreach(line ${pictures})
    string(REGEX REPLACE ".*<img src=\"([^\"]+)\".*" "\\1" picture "${line}")
    if(NOT EXISTS ${SOURCE_DIR}/docs/${picture})
        message(FATAL_ERROR "not packaged: the guide shows ${picture}, which docs/ lacks")
    endif()
    file(COPY_FILE ${SOURCE_DIR}/docs/${picture} ${folder}/${picture})
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${name}
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "not packaged: the zip could not be written")
endif()

file(GLOB files RELATIVE ${STAGE} ${folder}/*)
file(SIZE ${zip} size)
message(STATUS "${zip} (${size} bytes):")
foreach(file ${files})
    file(SIZE ${STAGE}/${file} size)
    string(LENGTH "${size}" digits)
    math(EXPR pad "9 - ${digits}")
    string(REPEAT " " ${pad} spaces)
    message(STATUS "${spaces}${size}  ${file}")
endforeach()
