# Windows: the system's own <windows.h> and DLLs are the platform, so platform/ is not built and
# zelvo_platform only names the system libraries that the framework, the demo and the tests link.
add_library(zelvo_platform INTERFACE)
target_link_libraries(zelvo_platform INTERFACE opengl32 glu32 gdi32 user32 comctl32)
# NOMINMAX keeps std::min and std::max usable after <windows.h>.
target_compile_definitions(zelvo_platform INTERFACE NOMINMAX _WIN32_WINNT=0x0601)

if(MINGW)
  # The runtime (libgcc, libstdc++, winpthread) goes into each .exe; the system DLLs stay DLLs.
  add_link_options(-static)
endif()

# The generators of the demo's textures and of the example's bitmaps run at build time; a cross
# build runs them under Wine when it is there.
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(ZELVO_WINE NAMES wine wine64)
  if(ZELVO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELVO_WINE})
  endif()
endif()

# Benchmarks and fuzzers measure and harden our own layer; they stay on Linux.
set(ZELVO_BUILD_BENCHMARKS OFF)
set(ZELVO_FUZZ OFF)
