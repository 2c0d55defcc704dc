# `cmake --install <build> --prefix <folder>` lays the analyzer out as a Maya module:
#   <folder>/vanalyzer.mod                          one entry per Maya version (maya-module-entry.mod.in)
#   <folder>/vanalyzer/python2.7/<2.7 binary>       named by the entries of Maya 2016 to 2020
#   <folder>/vanalyzer/python3/<Stable-ABI binary>  named by the entry without a version (Maya 2022 and later)
# Maya reads the .mod from a folder on MAYA_MODULE_PATH and puts on its Python path the folders of the
# entries that apply to it. A MAYAVERSION condition names one version, so the 2.7 Mayas have an entry
# each; the Stable-ABI entry names none and serves every later Maya with no reinstall. A 2.7 Maya that
# also takes that entry still imports the 2.7 binary: Python 2.7 does not load an .abi3.so file.
# Only the analyzer is installed: the offline environment is no part of Maya.

set(VANALYZER_MAYA27_VERSIONS "2016;2017;2018;2019;2020" CACHE STRING
    "Maya versions (Python 2.7) whose .mod entries name the 2.7 binary")

# The module's version is the analyzer's own (the one its results carry).
file(STRINGS "${PROJECT_SOURCE_DIR}/src/analyzer/construction.cpp" version_line
     REGEX "kAnalyzerVersion = \"[0-9.]+\"")
string(REGEX MATCH "[0-9][0-9.]*" VANALYZER_MODULE_VERSION "${version_line}")
if(NOT VANALYZER_MODULE_VERSION)
  message(FATAL_ERROR "The analyzer's version (kAnalyzerVersion) was not found in src/analyzer/construction.cpp")
endif()

if(WIN32)
  set(VANALYZER_MAYA_PLATFORM win64)
elseif(APPLE)
  set(VANALYZER_MAYA_PLATFORM mac)
else()
  set(VANALYZER_MAYA_PLATFORM linux)
endif()

file(READ "${CMAKE_CURRENT_LIST_DIR}/maya-module-entry.mod.in" entry_template)
set(module_text "")
set(entry_folder python2.7)
foreach(entry_maya ${VANALYZER_MAYA27_VERSIONS})
  set(entry_condition "MAYAVERSION:${entry_maya} ")
  string(CONFIGURE "${entry_template}" entry @ONLY)
  string(APPEND module_text "${entry}")
endforeach()
set(entry_folder python3)
set(entry_condition "")
string(CONFIGURE "${entry_template}" entry @ONLY)
string(APPEND module_text "${entry}")
install(TARGETS vanalyzer_py27 LIBRARY DESTINATION vanalyzer/python2.7)
install(TARGETS vanalyzer_abi3 LIBRARY DESTINATION vanalyzer/python3)
file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/vanalyzer.mod" CONTENT "${module_text}")
install(FILES "${CMAKE_BINARY_DIR}/vanalyzer.mod" DESTINATION .)
