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

# stb_image, an oracle of the BMP tests, is Debian's header in /usr/include/stb: that folder's parent
# cannot go on a cross compiler's include path, so <stb/stb_image.h> is reached through a link in a
# folder of the build's own.
set(ZELVO_STB_INCLUDE ${CMAKE_BINARY_DIR}/stb_include)
file(MAKE_DIRECTORY ${ZELVO_STB_INCLUDE})
file(CREATE_LINK /usr/include/stb ${ZELVO_STB_INCLUDE}/stb SYMBOLIC)

# PixelFormat.ANewWindowNeverInheritsAFormat makes and destroys 5000 windows with a GL pixel
# format, which takes Wine between 15 and 50 s by the machine's load: its file gets the time
# controls.bitmap_to_region gets below.
set(ZELVO_WINE_SLOW_TESTS winapi/test_pixel_format.cpp)

# zelvo_test(<area>/test_<name>.cpp LABEL...), called by tests/CMakeLists.txt for every test: the
# tests of tests/winapi are built here, into winapi_tests, labelled windows (the others are chosen
# below).
function(zelvo_test source)
  get_filename_component(area ${source} DIRECTORY)
  if(NOT area STREQUAL "winapi")
    return()
  endif()
  set(timeout 60)
  if(source IN_LIST ZELVO_WINE_SLOW_TESTS)
    set(timeout 180)
  endif()
  zelvo_test_file(winapi_tests ${source} ${timeout} windows)
  if(zelvo_test_program_new)
    target_link_libraries(winapi_tests PRIVATE zelvo_platform zelvo_test_files)
    target_include_directories(winapi_tests PRIVATE ${PROJECT_SOURCE_DIR}/zelvo/include
      ${CMAKE_CURRENT_SOURCE_DIR}/support ${ZELVO_STB_INCLUDE})
  endif()
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
# The framework's internal headers are named from its root, as on Linux.
target_include_directories(zelvo_windows_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${PROJECT_SOURCE_DIR}/zelvo)
target_link_libraries(zelvo_windows_test_support PUBLIC tornado_scene zelv_games zelvo zelvo_platform
  zelvo_test_files gtest)
foreach(test controls/bitmap_to_region controls/hover_button controls/key_mask
    controls/load_bmp_from_file
    render/find_normal render/primitives render/projection_presets render/render_states
    render/billboard render/billboard_scale games/twister_model games/twister_polygon
    games/twister_clouds games/scene window/gl_wnd_proc window/mouse_view window/set_gl_msg
    window/create_ogl_window textures/bmp_textures textures/demo_texture_lookup
    textures/demo_textures textures/failure_lines textures/file_name_case textures/pixel_swap
    textures/texture_slot_files textures/tga_reader textures/tga_rle_packets
    textures/tga_textures)
  get_filename_component(area ${test} DIRECTORY)
  get_filename_component(short ${test} NAME)
  zelvo_test_file(${area}_tests ${area}/test_${short}.cpp 60 windows)
  if(zelvo_test_program_new)
    target_link_libraries(${area}_tests PRIVATE zelvo_windows_test_support)
    target_compile_definitions(${area}_tests PRIVATE ZELVO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  endif()
endforeach()
# Cutting every mask checks each pixel with PtInRegion, a call into Wine's gdi32 each: under load the
# program needs most of a minute there.
set_tests_properties(controls.bitmap_to_region PROPERTIES TIMEOUT 180)
