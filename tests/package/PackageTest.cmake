# Installs the library from the build folder into a staging folder, builds the
# consumer program against it with the same toolchain and runs it.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DTOOLCHAIN=... -DRUN=... -P PackageTest.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --component library --prefix ${WORK_DIR}/stage)
if(EXISTS ${WORK_DIR}/stage/include/NUtilsKx/UtilsKxInternal.h)
  message(FATAL_ERROR "UtilsKxInternal.h must not be installed")
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G "Unix Makefiles"
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${WORK_DIR}/stage)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${RUN} ${WORK_DIR}/build/consumer.exe)
