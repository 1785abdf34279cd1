# modem_library(<target> [DEPS <targets>...] [PRIVATE_DEPS <targets>...])
#
# One static library made of every .cpp file in the calling folder. Includes are written from
# the repository root ("platform/rtl/SysUtils.h"). When the folder has tests/, its *.cpp files
# become the test program test_<target>; when it has fuzz/ and MODEM_FUZZ is on, each file there
# becomes the libFuzzer program fuzz_<target>_<file>.
function(modem_library target)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;TEST_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} Threads::Threads PRIVATE ${ARG_PRIVATE_DEPS})
  modem_tests(${target} ${target} ${ARG_TEST_DEPS})
  modem_fuzzers(${target})
endfunction()

# modem_tests(<name> [END_TO_END] <libraries>...): the test program of the calling folder's tests/.
# END_TO_END marks tests that drive a whole program and mostly wait on it: CTest starts them first,
# so that the longest ones never run alone at the end.
function(modem_tests name)
  cmake_parse_arguments(ARG "END_TO_END" "" "" ${ARGN})
  if(NOT MODEM_TESTS OR NOT IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    return()
  endif()
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT test_sources)
    return()
  endif()
  add_executable(test_${name} ${test_sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_UNPARSED_ARGUMENTS} test_support GTest::gtest GTest::gmock
                                              GTest::gtest_main)
  # GoogleTest's headers are the heaviest part of every test file: parsed once per test program.
  target_precompile_headers(test_${name} PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
  # Tests that read files of the repository find them from here (never through __FILE__, which a
  # compiler cache may rewrite to a relative path).
  # Pictures a test leaves for a person to look at go to the build folder.
  target_compile_definitions(test_${name} PRIVATE MODEM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                                  MODEM_TEST_PICTURES="${CMAKE_BINARY_DIR}")
  set(cost 1)
  if(ARG_END_TO_END)
    set(cost 1000)
  endif()
  # A parameterised test's name is its row's name (tests/support/RowNames.h), never a printout of
  # its value, so that a name from one build's log selects the same test in another.
  gtest_discover_tests(test_${name}
    NO_PRETTY_VALUES
    PROPERTIES COST ${cost}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/tests
    DISCOVERY_TIMEOUT 60)
endfunction()

# modem_fuzzers(<target>): the calling folder's fuzz/*.cpp files, each a libFuzzer target whose
# seeds are in fuzz/corpus/<file> and whose inputs that once crashed it are kept in
# fuzz/crashers/<file>. With MODEM_FUZZ each becomes the libFuzzer program fuzz_<target>_<file>;
# with MODEM_TESTS (any compiler) each also becomes the test replay_<target>_<file>, which runs it
# over its seeds and crashers.
function(modem_fuzzers target)
  if(NOT IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/fuzz OR NOT (MODEM_FUZZ OR MODEM_TESTS))
    return()
  endif()
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*.cpp)
  foreach(source ${fuzz_sources})
    get_filename_component(stem ${source} NAME_WE)
    # Compiled once, linked into both the libFuzzer program and the replay test.
    set(objects fuzzobjects_${target}_${stem})
    add_library(${objects} OBJECT ${source})
    target_link_libraries(${objects} PRIVATE ${target})
    if(MODEM_FUZZ)
      set(fuzzer fuzz_${target}_${stem})
      add_executable(${fuzzer} $<TARGET_OBJECTS:${objects}>)
      target_link_libraries(${fuzzer} PRIVATE ${target})
      target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
      set_property(GLOBAL APPEND PROPERTY MODEM_FUZZERS "${fuzzer}|${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${stem}")
    endif()
    if(MODEM_TESTS)
      modem_fuzz_replay(${target} ${stem} ${objects})
    endif()
  endforeach()
endfunction()

# modem_fuzz_replay(<target> <stem> <objects>): the fuzz target's objects with the kit's replay
# main, as the CTest test replay_<target>_<stem>. Folders that do not exist yet are skipped by the
# replay, so a crasher saved later joins without a new configure.
function(modem_fuzz_replay target stem objects)
  set(replay replay_${target}_${stem})
  add_executable(${replay} $<TARGET_OBJECTS:${objects}>)
  target_link_libraries(${replay} PRIVATE ${target} test_support_fuzz_replay)
  set(fuzz_dir ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
  add_test(NAME ${replay} COMMAND ${replay} ${fuzz_dir}/corpus/${stem} ${fuzz_dir}/crashers/${stem})
endfunction()

# modem_benchmark(<file.cpp> <libraries>...): one Google Benchmark program per file.
function(modem_benchmark source)
  if(NOT MODEM_BENCH)
    return()
  endif()
  get_filename_component(stem ${source} NAME_WE)
  add_executable(bench_${stem} ${source})
  target_link_libraries(bench_${stem} PRIVATE ${ARGN} benchmark::benchmark_main)
  target_compile_definitions(bench_${stem} PRIVATE MODEM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

macro(modem_add_folders)
  foreach(folder ${ARGN})
    if(EXISTS ${PROJECT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
endmacro()

# Writes <build>/fuzzers.txt: one line per libFuzzer program, "<program> <seed corpus folder>".
function(modem_write_fuzzer_list)
  get_property(fuzzers GLOBAL PROPERTY MODEM_FUZZERS)
  set(lines "")
  foreach(entry ${fuzzers})
    string(REPLACE "|" ";" fields ${entry})
    list(GET fields 0 fuzzer)
    list(GET fields 1 corpus)
    string(APPEND lines "$<TARGET_FILE:${fuzzer}> ${corpus}\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers.txt CONTENT "${lines}")
endfunction()
