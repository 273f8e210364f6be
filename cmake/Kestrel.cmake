# kestrel_test(NAME SOURCES... LIBS ...): one GoogleTest binary registered with CTest.
function(kestrel_test name)
  if(NOT KESTREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main pthread)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# kestrel_bench(NAME SOURCES... LIBS ...): one Google Benchmark binary (not run by CTest).
function(kestrel_bench name)
  if(NOT KESTREL_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark pthread)
endfunction()

# kestrel_fuzz(NAME SOURCES... LIBS ...): one libFuzzer target.
function(kestrel_fuzz name)
  if(NOT KESTREL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# kestrel_no_undefined(<target>): a shared library or module resolves every symbol at
# link time, except under clang's sanitizers, whose runtimes are linked into executables
# only.
function(kestrel_no_undefined target)
  if(NOT (CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND (KESTREL_SANITIZE OR KESTREL_FUZZ)))
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# kestrel_add_child_folders([EXCEPT <folder>...]): every child folder of the current one is
# an area with its own CMakeLists.txt; one without is a mistake, not something to skip.
function(kestrel_add_child_folders)
  cmake_parse_arguments(C "" "" "EXCEPT" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(NOT IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} OR child IN_LIST C_EXCEPT)
      continue()
    endif()
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${child} has no CMakeLists.txt")
    endif()
    add_subdirectory(${child})
  endforeach()
endfunction()

# kestrel_install_bundle(<target> <destination>): `cmake --install` copies the bundle
# whose library <target> is (<name>.vst or <name>.component, with its Info.plist and
# Resources/) into <prefix>/<destination>/.
function(kestrel_install_bundle target destination)
  get_target_property(contents ${target} LIBRARY_OUTPUT_DIRECTORY)
  get_filename_component(bundle ${contents} DIRECTORY)
  get_filename_component(bundle ${bundle} NAME)
  install(TARGETS ${target} LIBRARY DESTINATION ${destination}/${bundle}/Contents)
  install(DIRECTORY ${contents}/ DESTINATION ${destination}/${bundle}/Contents PATTERN "*.so" EXCLUDE)
endfunction()
