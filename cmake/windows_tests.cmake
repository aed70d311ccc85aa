# The Windows tests, included by tests/CMakeLists.txt on Windows: tests/winapi checks Windows
# behaviour through Windows API calls only, so the same sources that test our layer on Linux run
# here against the system (under Wine when cross-compiled; add_test runs them through
# CMAKE_CROSSCOMPILING_EMULATOR). GoogleTest is built from the sources Debian's libgtest-dev ships,
# or found as a package on a Windows machine.
find_package(GTest QUIET)
if(NOT GTest_FOUND)
  set(ZELVO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ZELVO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# zelvo_test(<area>/test_<name>.cpp LABEL...), called by tests/CMakeLists.txt for every test: the
# tests of tests/winapi are built here, labelled windows (the others are chosen below).
function(zelvo_test source)
  get_filename_component(area ${source} DIRECTORY)
  if(NOT area STREQUAL "winapi")
    return()
  endif()
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "^test_" "" short ${name})
  add_executable(winapi_${short} ${source})
  target_link_libraries(winapi_${short} PRIVATE zelvo_platform zelvo_test_files GTest::gtest_main)
  target_include_directories(winapi_${short} PRIVATE ${PROJECT_SOURCE_DIR}/zelvo/include
    ${CMAKE_CURRENT_SOURCE_DIR}/support)
  add_test(NAME winapi.${short} COMMAND winapi_${short})
  set_tests_properties(winapi.${short} PROPERTIES TIMEOUT 60 LABELS windows)
endfunction()

# The tests of the platform's core are Windows tests like the others here.
function(zelvo_core_test source)
  zelvo_test(${source} core)
endfunction()

# The framework's own tests that need only the public API and a GL context: GlTestContext is made
# with WGL here (tests/support/windows/), with GLX on Linux.
add_library(zelvo_windows_test_support STATIC
  support/gl_feedback.cpp
  support/windows/gl_test_context.cpp)
target_include_directories(zelvo_windows_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(zelvo_windows_test_support PUBLIC tornado_scene zelv_games zelvo zelvo_platform
  zelvo_test_files gtest)
foreach(test render/find_normal render/primitives render/projection_presets render/render_states
    render/billboard render/billboard_scale games/twister_model games/twister_polygon
    games/twister_clouds games/scene window/gl_wnd_proc window/mouse_view window/set_gl_msg
    window/create_ogl_window textures/pixel_swap textures/tga_rle_packets)
  string(REPLACE "/" "_" target ${test})
  string(REPLACE "/" "." name ${test})
  get_filename_component(area ${test} DIRECTORY)
  get_filename_component(short ${test} NAME)
  add_executable(${target} ${CMAKE_CURRENT_SOURCE_DIR}/${area}/test_${short}.cpp)
  target_link_libraries(${target} PRIVATE zelvo_windows_test_support GTest::gtest_main)
  target_compile_definitions(${target} PRIVATE ZELVO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${target})
  set_tests_properties(${name} PROPERTIES TIMEOUT 60 LABELS windows)
endforeach()
