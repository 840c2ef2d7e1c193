# What administrators get: `cpack` in the windows build makes
# deployNotice-<version>-win64.zip with the program, the sample ini files, the
# README and the example scripts, and the library for other programs.
install(TARGETS deployNotice RUNTIME DESTINATION . COMPONENT program)
install(FILES
          ${PROJECT_SOURCE_DIR}/res/deployNotice.ini
          ${PROJECT_SOURCE_DIR}/res/deployNotice.de.ini
          ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION . COMPONENT program)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION examples COMPONENT program)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME deployNotice)
set(CPACK_PACKAGE_VENDOR "deployNotice developers")
set(CPACK_PACKAGE_FILE_NAME deployNotice-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENTS_ALL program library)
include(CPack)
