# Small helpers shared by every folder: one static library per source folder (its .cpp files
# globbed, so a new file needs no edit here) and one test executable per test folder.

set(TOLVANE_WARNINGS -Wall -Wextra -Wpedantic)

# tolvane_library(NAME DIR <folder> [DEPS ...])
function(tolvane_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp" "${ARG_DIR}/*.h")
  if(NOT sources MATCHES "\\.cpp")
    # A folder whose sources are still to come: keep the target so others can link it.
    set(stub "${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp")
    file(WRITE "${stub}" "// placeholder until this folder has sources\nnamespace tolvane {}\n")
    list(APPEND sources "${stub}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
  target_compile_options(${name} PRIVATE ${TOLVANE_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tolvane_test(NAME DIR <folder> LABELS <labels> [DEPS ...] [X11])
# Every .cpp of the folder goes into one GoogleTest executable; each test is registered with
# CTest under the given labels. X11 suites run under xvfb-run with a window manager.
function(tolvane_test name)
  cmake_parse_arguments(ARG "X11" "DIR;TIMEOUT" "LABELS;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp" "${ARG_DIR}/*.h")
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${TOLVANE_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} tolvane_testsupport GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    TOLVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TOLVANE_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(ARG_X11)
    add_test(NAME ${name}
      COMMAND "${CMAKE_SOURCE_DIR}/scripts/with-x11" $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}")
endfunction()
