# Test helpers: one GoogleTest main per executable, native tests labelled
# "headless", Windows tests labelled "wine" and run through the emulator.

if(WIN32)
  # GoogleTest cross-built from Debian's sources.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  if(BUILD_TESTING)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    target_compile_options(gtest PRIVATE -w)
  endif()
  set(QS_GTEST_MAIN gtest_main)
else()
  find_package(GTest REQUIRED)
  set(QS_GTEST_MAIN GTest::gtest_main)
  include(GoogleTest)
endif()

# qs_add_test(NAME SOURCES ... [LIBS ...])
# Natively every test case becomes a CTest test labelled "headless"; under
# Wine the executable is one CTest test labelled "wine".
function(qs_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${QS_GTEST_MAIN})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(WIN32)
    target_link_options(${name} PRIVATE -static)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS wine
      ENVIRONMENT "${QS_WINE_ENV}")
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS headless DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
