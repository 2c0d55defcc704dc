# The offline environment's Python modules compiled ahead for the command line's default
# interpreter. Without it every run compiles each module it imports wherever bytecode is not
# written (PYTHONDONTWRITEBYTECODE, a read-only clone): about 0.03 s an interpreter, client and host
# alike, a fifth of what an empty scene costs end to end. The files land beside the sources, in
# __pycache__, where the interpreter looks for them; a stale one is rewritten by the next build.
set(VANALYZER_BYTECODE_PYTHON "/usr/bin/python3"
    CACHE FILEPATH "Interpreter whose bytecode of the offline modules the build writes ahead")
if(EXISTS "${VANALYZER_BYTECODE_PYTHON}")
  set(_offline "${PROJECT_SOURCE_DIR}/offline")
  set(_folders "${_offline}/cli" "${_offline}/host" "${_offline}/service/modules")
  set(_sources)
  foreach(folder IN LISTS _folders)
    file(GLOB_RECURSE _found CONFIGURE_DEPENDS "${folder}/*.py")
    list(APPEND _sources ${_found})
  endforeach()
  set(_stamp "${CMAKE_CURRENT_BINARY_DIR}/offline-bytecode.stamp")
  add_custom_command(
    OUTPUT "${_stamp}"
    COMMAND "${VANALYZER_BYTECODE_PYTHON}" -m compileall -q ${_folders}
    COMMAND "${CMAKE_COMMAND}" -E touch "${_stamp}"
    DEPENDS ${_sources}
    COMMENT "Compiling the offline environment's Python modules"
    VERBATIM)
  add_custom_target(offline_bytecode ALL DEPENDS "${_stamp}")
endif()
