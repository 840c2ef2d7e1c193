# Package file of the NUtilsKx utility library: the imported targets
# NUtilsKx::NUtilsKx (the library) and NUtilsKx::Framework (its framework layer).
include("${CMAKE_CURRENT_LIST_DIR}/NUtilsKxTargets.cmake")
