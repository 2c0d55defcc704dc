# Builds a Python extension module for both interpreter lines from one set of sources:
#   <prefix>_abi3 -> abi3/<module>.abi3.so  (Python 3.7+, Stable ABI, Py_LIMITED_API=0x03070000)
#   <prefix>_py27 -> py27/<module>.so       (Python 2.7, entry init<module>)
# The two land in separate folders because Python 3 would also import a plain <module>.so.

set(VANALYZER_PYTHON27 "$ENV{HOME}/.pyenv/versions/2.7.18/bin/python"
    CACHE FILEPATH "Python 2.7 whose headers build the 2.7 binaries")
set(VANALYZER_PYTHON3 "$ENV{HOME}/.pyenv/versions/3.7.16/bin/python"
    CACHE FILEPATH "Python 3 whose headers build the stable-ABI binaries (the oldest supported line)")
set(VANALYZER_PYTHON3_INCLUDE "" CACHE PATH
    "Overrides the Python 3 headers (the reference-debug build points this at python3.11d)")
set(VANALYZER_PYTHON3_REF_DEBUG OFF CACHE BOOL
    "Count references as a debug interpreter does (the leak check's build; loads only in python3.11-dbg)")

function(_vanalyzer_python_include interpreter out)
  execute_process(
    COMMAND "${interpreter}" -c "import sysconfig; print(sysconfig.get_paths()['include'])"
    OUTPUT_VARIABLE dir OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${dir}/Python.h")
    message(FATAL_ERROR "No Python headers found for ${interpreter}")
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

if(VANALYZER_PYTHON3_INCLUDE)
  set(VANALYZER_PYTHON3_INCLUDE_DIR "${VANALYZER_PYTHON3_INCLUDE}")
else()
  _vanalyzer_python_include("${VANALYZER_PYTHON3}" VANALYZER_PYTHON3_INCLUDE_DIR)
endif()
_vanalyzer_python_include("${VANALYZER_PYTHON27}" VANALYZER_PYTHON27_INCLUDE_DIR)

# Warnings, visibility and the sanitizer switch shared by every target of the project.
function(vanalyzer_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -fvisibility=hidden
                                           -fvisibility-inlines-hidden)
  if(VANALYZER_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# vanalyzer_add_extension(<prefix> MODULE <name> SOURCES <files...> [LIBRARIES <libs...>]), each line
# with the Python reference layer (vanalyzer_python_layer) compiled in
function(vanalyzer_add_extension prefix)
  cmake_parse_arguments(EXT "" "MODULE" "SOURCES;LIBRARIES" ${ARGN})
  foreach(line abi3 py27)
    set(target ${prefix}_${line})
    add_library(${target} MODULE ${EXT_SOURCES})
    # python_extensions_<line>: every extension of one line, for a build that needs only that line
    if(NOT TARGET python_extensions_${line})
      add_custom_target(python_extensions_${line})
    endif()
    add_dependencies(python_extensions_${line} ${target})
    vanalyzer_target_defaults(${target})
    vanalyzer_python_layer(${target})
    target_link_libraries(${target} PRIVATE ${EXT_LIBRARIES})
    set_target_properties(${target} PROPERTIES
      PREFIX "" OUTPUT_NAME "${EXT_MODULE}"
      LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/${line}")
    if(line STREQUAL "abi3")
      target_include_directories(${target} SYSTEM PRIVATE "${VANALYZER_PYTHON3_INCLUDE_DIR}")
      target_compile_definitions(${target} PRIVATE Py_LIMITED_API=0x03070000)
      if(VANALYZER_PYTHON3_REF_DEBUG)
        # Debian's python3.11d headers link Python.h to the release tree, whose pyconfig.h does not
        # define Py_DEBUG: ask for reference counting explicitly.
        target_compile_definitions(${target} PRIVATE Py_REF_DEBUG)
      endif()
      set_target_properties(${target} PROPERTIES SUFFIX ".abi3.so")
    else()
      # 2.7's headers use `register`, which C++17 rejects: include them as system headers.
      target_include_directories(${target} SYSTEM PRIVATE "${VANALYZER_PYTHON27_INCLUDE_DIR}")
      set_target_properties(${target} PROPERTIES SUFFIX ".so")
    endif()
    # Only the entry is visible to the dynamic linker; standard-library template instances, which
    # the library headers mark as visible, stay inside.
    set(exports "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports")
    file(WRITE "${exports}" "{ global: PyInit_${EXT_MODULE}; init${EXT_MODULE}; local: *; };\n")
    target_link_options(${target} PRIVATE "-Wl,--version-script=${exports}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${exports}")
    if(NOT VANALYZER_SANITIZE)
      # The host application loads its own libstdc++; carry ours inside, hidden.
      target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL)
    endif()
  endforeach()
endfunction()
