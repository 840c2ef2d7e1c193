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
# Only a deployment's window run, which hands the window over to the user's
# session, calls into these.
set(DN_SESSION_DELAY_DLLS wtsapi32 userenv shell32)

find_program(DN_NM NAMES ${DN_MINGW_TRIPLET}-nm nm REQUIRED)
find_program(DN_DLLTOOL NAMES ${DN_MINGW_TRIPLET}-dlltool dlltool REQUIRED)

# An interface target that links the delay-import libraries of the DLLs given.
function(dn_add_delay_imports target)
  add_library(${target} INTERFACE)
  set(libs "")
  foreach(dll IN LISTS ARGN)
    find_library(DN_IMPORT_LIB_${dll} NAMES lib${dll}.a REQUIRED)
    set(def ${CMAKE_BINARY_DIR}/delayimp/${dll}.def)
    set(lib ${CMAKE_BINARY_DIR}/delayimp/lib${dll}_delay.a)
    add_custom_command(
      OUTPUT ${lib}
      COMMAND ${CMAKE_COMMAND} -DNM=${DN_NM} -DDLLTOOL=${DN_DLLTOOL} -DDLL=${dll}
              -DIMPORT_LIB=${DN_IMPORT_LIB_${dll}} -DDEF=${def} -DOUT=${lib}
              -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/MakeDelayImportLib.cmake
      DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/MakeDelayImportLib.cmake
      COMMENT "Delay-import library for ${dll}.dll"
      VERBATIM)
    list(APPEND libs ${lib})
  endforeach()
  add_custom_target(${target}_libs DEPENDS ${libs})
  add_dependencies(${target} ${target}_libs)
  # mingw's delay-load helper lives in libmingwex, which the driver links anyway.
  target_link_libraries(${target} INTERFACE ${libs})
endfunction()

dn_add_delay_imports(dn_delay_imports ${DN_DELAY_DLLS})
dn_add_delay_imports(dn_session_delay_imports ${DN_SESSION_DELAY_DLLS})
