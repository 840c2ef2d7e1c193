# What administrators get on Linux: `cpack` in the linux build makes
# deploynotice_<version>_<arch>.deb. The program looks for its ini file beside
# its executable (the symbolic link resolved), so program and ini files live
# together in /opt/deploynotice, and /usr/bin/deployNotice links to it.
# The package installs deployNotice.ini (English, with sections for other
# languages) and deployNotice.de.ini (German alone); administrators edit the
# first or copy the German one over it.
set(DN_INSTALL_DIR opt/deploynotice)
install(TARGETS deployNotice RUNTIME DESTINATION ${DN_INSTALL_DIR} COMPONENT program)
install(FILES
          ${PROJECT_SOURCE_DIR}/res/deployNotice.ini
          ${PROJECT_SOURCE_DIR}/res/deployNotice.de.ini
          ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${DN_INSTALL_DIR} COMPONENT program)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/examples/deploy.sh DESTINATION ${DN_INSTALL_DIR}/examples COMPONENT program)
# Relative, so that it also holds in a tree unpacked elsewhere.
file(CREATE_LINK ../../${DN_INSTALL_DIR}/deployNotice ${PROJECT_BINARY_DIR}/deployNotice.link SYMBOLIC)
install(FILES ${PROJECT_BINARY_DIR}/deployNotice.link DESTINATION usr/bin RENAME deployNotice COMPONENT program)

# Debian's place for the license and the changelog: the license in Debian's
# machine-readable copyright format (MIT is called Expat there), made from
# LICENSE; the changelog compressed as Debian wants it, with gzip -9n (no
# name or time stamp inside, so the same source gives the same bytes).
set(DN_DOC_DIR usr/share/doc/deploynotice)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)\n+(.*[^\n])" found "${license}")
set(DN_COPYRIGHT ${CMAKE_MATCH_1})
# Continuation lines start with a space, an empty line is " .".
string(REPLACE "\n\n" "\n.\n" DN_LICENSE_TERMS " ${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " DN_LICENSE_TERMS "${DN_LICENSE_TERMS}")
configure_file(${PROJECT_SOURCE_DIR}/res/debian/copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/res/debian/changelog)
execute_process(COMMAND gzip -9n INPUT_FILE ${PROJECT_SOURCE_DIR}/res/debian/changelog
                OUTPUT_FILE ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
        DESTINATION ${DN_DOC_DIR} COMPONENT program)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_PACKAGE_NAME deploynotice)
set(CPACK_PACKAGE_VENDOR "deployNotice developers")
set(CPACK_PACKAGE_CONTACT "deployNotice developers <deploynotice@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tells the logged-on user what an unattended software deployment is doing")
set(CPACK_PACKAGE_DESCRIPTION "A small window with two message lines and a moving bar, driven by the
deployment scripts through command-line switches. Its texts come from an
ini file beside the program.")
# The package's own revision: its changelog is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
# The toolkit is loaded at run time, so the dependency is named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libgtk-3-0")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
# The sample ini files are the administrator's to edit; an upgrade keeps them.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/conffiles)
file(WRITE ${PROJECT_BINARY_DIR}/conffiles
     "/${DN_INSTALL_DIR}/deployNotice.ini\n/${DN_INSTALL_DIR}/deployNotice.de.ini\n")
set(CPACK_STRIP_FILES ON)
# The package holds all that this build installs: the utility library is not
# installed on Linux (utils/CMakeLists.txt).
include(CPack)
