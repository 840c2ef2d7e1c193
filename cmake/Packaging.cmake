# What `cpack` in the windows build makes:
# - deployNotice-<version>-win64.zip, the administrators' download: one folder
#   deployNotice-<version>/ with the program, the sample ini files, the README,
#   the license and the Windows examples;
# - deployNotice-dev-<version>-win64.zip, the utility library for other
#   programs (headers, static libraries, CMake package; utils/CMakeLists.txt),
#   to unpack into a folder that CMAKE_PREFIX_PATH names.
set(DN_PROGRAM_DIR deployNotice-${PROJECT_VERSION})
install(TARGETS deployNotice RUNTIME DESTINATION ${DN_PROGRAM_DIR} COMPONENT program)
install(FILES
          ${PROJECT_SOURCE_DIR}/res/deployNotice.ini
          ${PROJECT_SOURCE_DIR}/res/deployNotice.de.ini
          ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${DN_PROGRAM_DIR} COMPONENT program)
install(FILES
          ${PROJECT_SOURCE_DIR}/examples/deploy.cmd
          ${PROJECT_SOURCE_DIR}/examples/deploy.ps1
        DESTINATION ${DN_PROGRAM_DIR}/examples COMPONENT program)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME deployNotice)
set(CPACK_PACKAGE_VENDOR "deployNotice developers")
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program library)
set(CPACK_ARCHIVE_PROGRAM_FILE_NAME deployNotice-${PROJECT_VERSION}-win64)
set(CPACK_ARCHIVE_LIBRARY_FILE_NAME deployNotice-dev-${PROJECT_VERSION}-win64)
include(CPack)
