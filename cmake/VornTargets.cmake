# Helpers that keep each folder's CMakeLists.txt to a few lines.
# Sources are globbed so that adding a file to a folder needs no build edit.

# vorn_library(NAME [DEPS ...] [PRIVATE_DEPS ...]): one static library from every
# .cpp in the current folder (an interface library while the folder has none).
function(vorn_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# vorn_add_present_subdirs(): adds every direct subfolder that has a CMakeLists.txt,
# so a new test, tool or benchmark folder needs no edit of its parent.
function(vorn_add_present_subdirs)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# vorn_test(NAME [DEPS ...]): one GoogleTest executable from every .cpp in the
# current folder, registered as one CTest test. Tests run with SDL's dummy audio
# driver and Mesa's software renderer, so neither a sound device nor a GPU is needed;
# in a sanitized tree, with the sanitizers' settings as well.
function(vorn_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vorn_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set(environment SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 ${VORN_SANITIZER_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 600)
endfunction()

# vorn_bench(NAME SOURCES ... DEPS ...): one Google Benchmark executable.
function(vorn_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# vorn_fuzzer(NAME SOURCE DEPS ...): one libFuzzer target (only in a VORN_FUZZ build),
# with diagnostics silenced (tests/fuzz/QuietDiagnostics.cpp).
function(vorn_fuzzer name source)
  add_executable(${name} ${source} ${CMAKE_SOURCE_DIR}/tests/fuzz/QuietDiagnostics.cpp)
  target_link_libraries(${name} PRIVATE ${ARGN} vorn_platform)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(NOT TARGET fuzzers)
    add_custom_target(fuzzers)
  endif()
  add_dependencies(fuzzers ${name})
endfunction()
