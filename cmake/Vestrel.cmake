# Helper functions shared by every CMakeLists.txt of the project.

set(VS_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(VS_WERROR)
  list(APPEND VS_WARNINGS -Werror)
endif()

if(VS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VS_FUZZ)
  # Coverage instrumentation for every library the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM} CACHE STRING "" FORCE)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM} CACHE STRING "" FORCE)
endif()

# vs_library(<target> DIRS <dir>... [DEPS <lib>...])
# A static library from every .cpp directly inside the given directories (relative to the
# calling CMakeLists.txt). Headers are included as "module/file.h" from src/.
function(vs_library target)
  cmake_parse_arguments(L "" "" "DIRS;DEPS;PRIVATE_DEPS" ${ARGN})
  set(srcs)
  foreach(d IN LISTS L_DIRS)
    file(GLOB s CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.cpp)
    list(APPEND srcs ${s})
  endforeach()
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
    target_compile_options(${target} PRIVATE ${VS_WARNINGS})
    target_link_libraries(${target} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
    target_link_libraries(${target} INTERFACE ${L_DEPS})
  endif()
endfunction()

# vs_test(<module> [DEPS <lib>...])
# One test binary per module from every .cpp in tests/<module>/, run by CTest.
function(vs_test module)
  cmake_parse_arguments(T "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${module}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${module} ${srcs})
  target_compile_options(test_${module} PRIVATE ${VS_WARNINGS})
  target_link_libraries(test_${module} PRIVATE ${T_DEPS} vs_testsupport)
  add_test(NAME ${module} COMMAND test_${module})
  set_tests_properties(${module} PROPERTIES TIMEOUT 600
    ENVIRONMENT "VS_TEST_SOURCE_DIR=${CMAKE_SOURCE_DIR};VS_TEST_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# vs_fuzz(<name> SOURCES <file>... DEPS <lib>...)
# A fuzz target defines LLVMFuzzerTestOneInput. Every build replays fuzz/corpus/<name>/ through it
# as a CTest test; with VS_FUZZ (clang) a libFuzzer binary fuzz_<name> is built as well.
function(vs_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(replay_${name} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(replay_${name} PRIVATE ${F_DEPS})
  target_compile_options(replay_${name} PRIVATE ${VS_WARNINGS})
  add_test(NAME fuzz_replay_${name} COMMAND replay_${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  set_tests_properties(fuzz_replay_${name} PROPERTIES TIMEOUT 300)
  if(VS_FUZZ)
    add_executable(fuzz_${name} ${F_SOURCES})
    target_link_libraries(fuzz_${name} PRIVATE ${F_DEPS})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzzers fuzz_${name})
  endif()
endfunction()
