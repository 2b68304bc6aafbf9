# Shared build rules of the Brackwell libraries, executables, tests and fuzzers.

function(brackwell_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(BRACKWELL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# brackwell_library(<name> SOURCES ... [LIBS ...] [PRIVATE_LIBS ...])
# One static library per src/ folder, included by its folder name: #include "platform/inifile.h".
# LIBS are the libraries its public headers use; PRIVATE_LIBS those only its
# sources use (a static library still hands them on to the link).
function(brackwell_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  brackwell_defaults(${name})
endfunction()

# brackwell_executable(<name> SOURCES ... [LIBS ...]) -- lands in the program folder.
function(brackwell_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  brackwell_defaults(${name})
  add_dependencies(${name} brackwell_resources)
endfunction()

# brackwell_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s])
# A Qt Test executable run by CTest on the offscreen platform.
function(brackwell_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  target_link_libraries(${name} PRIVATE bw_testsupport ${ARG_LIBS})
  brackwell_defaults(${name})
  add_dependencies(${name} brackwell_resources)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    LABELS "${ARG_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;BRACKWELL_SOURCE_DIR=${CMAKE_SOURCE_DIR};BRACKWELL_PROGRAM_DIR=${BRACKWELL_PROGRAM_DIR}")
endfunction()

# brackwell_fuzzer(<name> SOURCES <target.cpp> [LIBS ...])
# The target file defines LLVMFuzzerTestOneInput. With BRACKWELL_FUZZ (clang) this
# builds a libFuzzer binary with ASan+UBSan; otherwise a replay executable that runs
# the saved corpus fuzz/corpus/<name> and crash inputs fuzz/crashes/<name> as a test.
function(brackwell_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  set(crashes ${CMAKE_SOURCE_DIR}/fuzz/crashes/${name})
  if(BRACKWELL_FUZZ)
    add_executable(fuzz_${name} ${ARG_SOURCES})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
    set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-bin)
  else()
    add_executable(fuzz_${name}_replay ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(fuzz_${name}_replay PRIVATE ${ARG_LIBS})
    brackwell_defaults(fuzz_${name}_replay)
    set_target_properties(fuzz_${name}_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
    add_test(NAME fuzz_${name}_replay COMMAND fuzz_${name}_replay ${corpus} ${crashes})
    set_tests_properties(fuzz_${name}_replay PROPERTIES TIMEOUT 600 LABELS fuzz
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

# brackwell_forbid_link(<forbidden> <target> ...)
# Fails the configuration when a target reaches <forbidden> through its link
# libraries, directly or through any library below it. Holds the layers that
# must stay free of a dependency, e.g. the data layer of Qt Widgets.
function(brackwell_forbid_link forbidden)
  foreach(target IN LISTS ARGN)
    set(seen "")
    set(queue ${target})
    while(queue)
      list(POP_FRONT queue current)
      if(current IN_LIST seen OR NOT TARGET ${current})
        continue()
      endif()
      list(APPEND seen ${current})
      set(links "")
      foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(value ${current} ${property})
        if(value)
          list(APPEND links ${value})
        endif()
      endforeach()
      foreach(link IN LISTS links)
        # A private link of a static library is handed on as $<LINK_ONLY:...>.
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
        if(link STREQUAL forbidden)
          message(FATAL_ERROR "${target} must not link ${forbidden}, but ${current} links it")
        endif()
        list(APPEND queue ${link})
      endforeach()
    endwhile()
  endforeach()
endfunction()
