# Delay-import libraries for the windowing DLLs.
#
# A sender run must start as fast as an empty program, and loading user32.dll
# or comctl32.dll at start-up costs more than the whole run. Linking against
# these libraries instead of the normal import libraries makes the loader map
# each DLL on the first call into it, so only window and usage runs pay for it.
#
# The .def files are written from the toolchain's own import libraries, so every
# function the toolchain knows is delay-loaded and none slips back into the
# normal import table.

set(DN_DELAY_DLLS user32 gdi32 comctl32 comdlg32 version advapi32)

find_program(DN_NM NAMES ${DN_MINGW_TRIPLET}-nm nm REQUIRED)
find_program(DN_DLLTOOL NAMES ${DN_MINGW_TRIPLET}-dlltool dlltool REQUIRED)

add_library(dn_delay_imports INTERFACE)
foreach(dll IN LISTS DN_DELAY_DLLS)
  find_library(DN_IMPORT_LIB_${dll} NAMES lib${dll}.a REQUIRED)
  set(def ${CMAKE_BINARY_DIR}/delayimp/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayimp/lib${dll}_delay.a)
  add_custom_command(
    OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -DNM=${DN_NM} -DDLLTOOL=${DN_DLLTOOL} -DDLL=${dll}
            -DIMPORT_LIB=${DN_IMPORT_LIB_${dll}} -DDEF=${def} -DOUT=${lib}
            -P ${CMAKE_CURRENT_LIST_DIR}/MakeDelayImportLib.cmake
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/MakeDelayImportLib.cmake
    COMMENT "Delay-import library for ${dll}.dll"
    VERBATIM)
  list(APPEND delay_libs ${lib})
endforeach()
add_custom_target(dn_delay_import_libs DEPENDS ${delay_libs})
add_dependencies(dn_delay_imports dn_delay_import_libs)
# mingw's delay-load helper lives in libmingwex, which the driver links anyway.
target_link_libraries(dn_delay_imports INTERFACE ${delay_libs})
