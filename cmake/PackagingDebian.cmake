# What administrators get on Linux: `cpack` in the linux build makes
# deploynotice_<version>_<arch>.deb. The program looks for its ini file beside
# its executable (the symbolic link resolved), so program and ini files live
# together in /opt/deploynotice, and /usr/bin/deployNotice links to it.
# The package installs deployNotice.ini (English) and deployNotice.de.ini;
# administrators edit the first or copy the German one over it.
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_PACKAGE_NAME deploynotice)
set(CPACK_PACKAGE_VENDOR "deployNotice developers")
set(CPACK_PACKAGE_CONTACT "deployNotice developers <deploynotice@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tells the logged-on user what an unattended software deployment is doing")
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
set(CPACK_COMPONENTS_ALL program)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
include(CPack)
