# The two zips that cpack makes, by their file lists: the administrators'
# download is one folder with the program, its ini samples, the README, the
# license and the Windows examples, and nothing else; the developers' zip
# holds the library alone.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DCPACK=... -DVERSION=... -P ZipTest.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed (${result}):\n${output}")
endif()

file(GLOB zips RELATIVE ${WORK_DIR} ${WORK_DIR}/*.zip)
list(SORT zips)
set(expected deployNotice-${VERSION}-win64.zip deployNotice-dev-${VERSION}-win64.zip)
if(NOT zips STREQUAL expected)
  message(FATAL_ERROR "zips: ${zips}\nexpected: ${expected}")
endif()

# The files of a zip, sorted, without the folders.
function(list_files zip out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${WORK_DIR}/${zip} OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" entries "${listing}")
  list(FILTER entries EXCLUDE REGEX "(^|/)$")
  list(SORT entries)
  set(${out} "${entries}" PARENT_SCOPE)
endfunction()

list_files(deployNotice-${VERSION}-win64.zip program)
set(top deployNotice-${VERSION})
set(expected ${top}/LICENSE ${top}/README.md ${top}/deployNotice.de.ini ${top}/deployNotice.exe
             ${top}/deployNotice.ini ${top}/examples/deploy.cmd ${top}/examples/deploy.ps1)
if(NOT program STREQUAL expected)
  string(REPLACE ";" "\n  " program "${program}")
  string(REPLACE ";" "\n  " expected "${expected}")
  message(FATAL_ERROR "program zip holds:\n  ${program}\nexpected:\n  ${expected}")
endif()

list_files(deployNotice-dev-${VERSION}-win64.zip library)
set(others ${library})
list(FILTER others EXCLUDE REGEX
     "^(include/NUtilsKx/[^/]+|lib/libNUtilsKx[A-Za-z]*\\.a|lib/cmake/NUtilsKx/[^/]+\\.cmake|share/doc/NUtilsKx/LICENSE)$")
if(others)
  message(FATAL_ERROR "developers' zip holds more than the library: ${others}")
endif()
foreach(file include/NUtilsKx/UtilsKx.h lib/libNUtilsKx.a lib/cmake/NUtilsKx/NUtilsKxConfig.cmake share/doc/NUtilsKx/LICENSE)
  if(NOT file IN_LIST library)
    message(FATAL_ERROR "developers' zip lacks ${file}")
  endif()
endforeach()
message(STATUS "zips: ${zips}")
