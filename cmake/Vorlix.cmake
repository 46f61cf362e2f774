# Helpers shared by every target: warnings as errors and one library per source folder.

function(vorlix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wold-style-cast -Wnon-virtual-dtor
                                           -Woverloaded-virtual -Werror)
  # GCC 12 reports false -Wrestrict positives inside std::string at -O2 and above (GCC bug 105651);
  # they stay warnings there instead of failing optimised builds.
  target_compile_options(${target} PRIVATE
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-error=restrict>)
endfunction()

# vorlix_library(NAME dir [SHARED] LINKS ...): a library of every .cpp in the calling folder.
function(vorlix_library name)
  cmake_parse_arguments(ARG "SHARED" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(ARG_SHARED)
    add_library(${name} SHARED ${sources})
  else()
    add_library(${name} STATIC ${sources})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  vorlix_warnings(${name})
endfunction()

# vorlix_test(NAME LINKS ...): one GoogleTest executable of every .cpp in the calling folder.
function(vorlix_test name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} vorlix_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    VORLIX_PROGRAM_DIR="${VORLIX_PROGRAM_DIR}"
    VORLIX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  vorlix_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
