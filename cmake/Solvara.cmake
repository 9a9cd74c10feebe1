# Build helpers shared by every folder.

set(SOLVARA_WARNINGS -Wall -Wextra -Wpedantic)
if(SOLVARA_WERROR)
  list(APPEND SOLVARA_WARNINGS -Werror -Wno-error=deprecated-declarations)
endif()
# GCC 12's optimiser reports overlapping copies inside libstdc++'s own std::string concatenation
# ("0" + text) that cannot happen (GCC bug 105329, fixed in 13): with it on, Release and
# RelWithDebInfo builds of ordinary string code fail under -Werror.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND SOLVARA_WARNINGS -Wno-restrict)
endif()

string(TOLOWER "${SOLVARA_SANITIZE}" _solvara_sanitize)
if(_solvara_sanitize STREQUAL "thread")
  # Suppressions for the libraries' own internals live in tests/tsan.supp (scripts/dev and the
  # program's sanitizer test hand it over).
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(_solvara_sanitize MATCHES "^(on|address|true|yes|1)$")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(NOT _solvara_sanitize MATCHES "^(off|false|no|0|)$")
  message(FATAL_ERROR "SOLVARA_SANITIZE must be OFF, address (or ON) or thread, not '${SOLVARA_SANITIZE}'")
endif()

# Results are truncated to integers and NaN rules matter: no contraction, never fast-math.
function(solvara_target_options target)
  target_compile_options(${target} PRIVATE ${SOLVARA_WARNINGS} -ffp-contract=off)
endfunction()

macro(solvara_add_folders)
  foreach(folder ${ARGN})
    if(EXISTS ${CMAKE_SOURCE_DIR}/${folder}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${folder} ${CMAKE_BINARY_DIR}/${folder})
    endif()
  endforeach()
endmacro()

# Links `target` to those of the named targets that exist (folders land one at a time).
function(solvara_link_existing target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  else()
    set(scope PUBLIC)
  endif()
  foreach(dep ${ARGN})
    if(TARGET ${dep})
      target_link_libraries(${target} ${scope} ${dep})
    endif()
  endforeach()
endfunction()

# solvara_library(NAME name [SOURCES ...] [DEPS ...]): a static library from the .cpp files of
# the calling folder (or the given sources), include root at the source tree's top.
function(solvara_library)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${ARG_NAME} STATIC ${ARG_SOURCES})
  target_include_directories(${ARG_NAME} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS})
  solvara_target_options(${ARG_NAME})
endfunction()

# A sanitizer run builds and runs only the tests it catches most in: "asan" (AddressSanitizer +
# UBSan over the plain C++ tests and the X11 gamma tests) and "tsan" (ThreadSanitizer over the
# tests whose code runs threads). solvara_sanitizer_runs(target asan tsan) makes the target part
# of the build target solvara_<run>_tests; its tests carry the label <run> (`ctest -L tsan`).
add_custom_target(solvara_asan_tests)
add_custom_target(solvara_tsan_tests)
function(solvara_sanitizer_runs target)
  foreach(run ${ARGN})
    add_dependencies(solvara_${run}_tests ${target})
  endforeach()
endfunction()

# solvara_test(NAME name [SOURCES ...] DEPS ... [LABELS ...] [RUNS ...]): one GoogleTest
# executable from the .cpp files of the calling folder, registered with CTest test by test.
# RUNS names the sanitizer runs it joins (default: asan).
function(solvara_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS;LABELS;PROPERTIES;RUNS" ${ARGN})
  if(NOT ARG_RUNS)
    set(ARG_RUNS asan)
  endif()
  solvara_sanitizer_runs(${ARG_NAME} ${ARG_RUNS})
  list(APPEND ARG_LABELS ${ARG_RUNS})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} solvara_test_support GTest::gtest GTest::gmock)
  solvara_target_options(${ARG_NAME})
  set(props "")
  if(ARG_LABELS)
    # One label: test discovery cannot pass a list through. `ctest -L` takes a regular
    # expression, so `-L tsan` still finds "asan,tsan".
    list(JOIN ARG_LABELS "," labels)
    list(APPEND props LABELS "${labels}")
  endif()
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ${props} ${ARG_PROPERTIES})
endfunction()
