# `cmake --install <build> --prefix <folder>` lays the analyzer out as a Maya module:
#   <folder>/vanalyzer.mod                          one entry per Maya version (maya-module-entry.mod.in)
#   <folder>/vanalyzer/python2.7/<2.7 binary>       named by the entries of Maya 2016 to 2020
#   <folder>/vanalyzer/python3/<Stable-ABI binary>  named by the entries of Maya 2022 and later
# Maya reads the .mod from a folder on MAYA_MODULE_PATH and puts the folder the entry of its own
# version names on its Python path. A .mod entry names one Maya version, so a newer Maya is added to
# VANALYZER_MAYA3_VERSIONS. Only the analyzer is installed: the offline environment is no part of Maya.

set(VANALYZER_MAYA27_VERSIONS "2016;2017;2018;2019;2020" CACHE STRING
    "Maya versions (Python 2.7) whose .mod entries name the 2.7 binary")
set(VANALYZER_MAYA3_VERSIONS "2022;2023;2024;2025;2026" CACHE STRING
    "Maya versions (Python 3.7 and later) whose .mod entries name the Stable-ABI binary")

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
foreach(line py27 abi3)
  if(line STREQUAL "py27")
    set(entry_folder python2.7)
    set(versions ${VANALYZER_MAYA27_VERSIONS})
  else()
    set(entry_folder python3)
    set(versions ${VANALYZER_MAYA3_VERSIONS})
  endif()
  foreach(entry_maya ${versions})
    string(CONFIGURE "${entry_template}" entry @ONLY)
    string(APPEND module_text "${entry}")
  endforeach()
  install(TARGETS vanalyzer_${line} LIBRARY DESTINATION vanalyzer/${entry_folder})
endforeach()
file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/vanalyzer.mod" CONTENT "${module_text}")
install(FILES "${CMAKE_BINARY_DIR}/vanalyzer.mod" DESTINATION .)
