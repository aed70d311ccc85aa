# Installation: the public headers under include/Zelvo (so that our windows.h never lands directly in
# a system include folder), the three libraries (static, or shared with BUILD_SHARED_LIBS), the
# licence, a CMake package for find_package(Zelvo) with
# the imported targets Zelvo::Platform, Zelvo::Zelvo and Zelvo::ZelvGames, and pkg-config files.
# A static and a shared build install side by side into one prefix: every file they share is the
# same in both, and what differs has a name of its own (ZelvoTargets-static.cmake beside
# ZelvoTargets-shared.cmake, zelvo-static.pc beside zelvo.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZELVO_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/Zelvo)
set(ZELVO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zelvo)
set(ZELVO_INSTALL_PKGCONFIGDIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
# The licence of LICENSE, as an SPDX name for the package metadata.
set(ZELVO_LICENSE Zlib)

# The same names inside the build as outside, so code moves between the two unchanged.
add_library(Zelvo::Platform ALIAS zelvo_platform)
add_library(Zelvo::Zelvo ALIAS zelvo)
add_library(Zelvo::ZelvGames ALIAS zelv_games)
set_target_properties(zelvo_platform PROPERTIES EXPORT_NAME Platform)
set_target_properties(zelvo PROPERTIES EXPORT_NAME Zelvo)
set_target_properties(zelv_games PROPERTIES EXPORT_NAME ZelvGames)
# The public headers need C++17 (inline variables); consumers get at least that with the target.
target_compile_features(zelvo_platform INTERFACE cxx_std_17)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/include/ ${PROJECT_SOURCE_DIR}/zelvo/include/
        ${PROJECT_SOURCE_DIR}/zelv_games/include/
        DESTINATION ${ZELVO_INSTALL_INCLUDEDIR} COMPONENT Development
        FILES_MATCHING PATTERN "*.h")
install(FILES ${ZELVO_EXPORT_HEADER_DIR}/zelvo_export.h DESTINATION ${ZELVO_INSTALL_INCLUDEDIR}
        COMPONENT Development)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Runtime)

install(TARGETS zelvo_platform zelvo zelv_games EXPORT ZelvoTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
        INCLUDES DESTINATION ${ZELVO_INSTALL_INCLUDEDIR})
if(ZELVO_SHARED_LIBRARIES)
  set(ZELVO_KIND shared)
else()
  set(ZELVO_KIND static)
endif()
# ZelvoConfig.cmake includes one of the two, as the consumer asks.
install(EXPORT ZelvoTargets NAMESPACE Zelvo:: DESTINATION ${ZELVO_INSTALL_CMAKEDIR}
        FILE ZelvoTargets-${ZELVO_KIND}.cmake COMPONENT Development)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZelvoConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/ZelvoConfig.cmake INSTALL_DESTINATION ${ZELVO_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/ZelvoConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/ZelvoConfig.cmake
        ${PROJECT_BINARY_DIR}/package/ZelvoConfigVersion.cmake
        DESTINATION ${ZELVO_INSTALL_CMAKEDIR} COMPONENT Development)

# The pkg-config files locate the prefix from their own folder, so an installed tree stays usable
# after `cmake --install --prefix`, DESTDIR staging or a move.
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(ZELVO_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(ZELVO_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
if(IS_ABSOLUTE "${ZELVO_INSTALL_PKGCONFIGDIR}")
  set(ZELVO_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH ZELVO_PC_UP "/prefix/${ZELVO_INSTALL_PKGCONFIGDIR}" "/prefix")
  string(REGEX REPLACE "/$" "" ZELVO_PC_UP "${ZELVO_PC_UP}")
  set(ZELVO_PC_PREFIX "\${pcfiledir}/${ZELVO_PC_UP}")
endif()
# Shared libraries are zelvo.pc and zelv_games.pc; static ones zelvo-static.pc and
# zelv_games-static.pc, which name the archives by path, since -lzelvo takes libzelvo.so when both
# kinds share the folder. The system libraries behind the platform layer only a static link needs
# (pkg-config --static); shared libraries bring their own.
if(ZELVO_SHARED_LIBRARIES)
  set(ZELVO_PC_SUFFIX "")
  set(ZELVO_PC_STATIC_ONLY "")
  set(ZELVO_PC_DEFINES "")
  set(ZELVO_PC_LIB_zelvo "-L\${libdir} -lzelvo -lzelvo_platform")
  set(ZELVO_PC_LIB_zelv_games "-L\${libdir} -lzelv_games")
else()
  set(ZELVO_PC_SUFFIX "-static")
  set(ZELVO_PC_STATIC_ONLY "Requires.private: glx x11 xext xft fontconfig freetype2 pixman-1 xkbcommon")
  set(ZELVO_PC_DEFINES " -DZELVO_STATIC")
  set(ZELVO_PC_LIB_zelvo "\${libdir}/libzelvo.a \${libdir}/libzelvo_platform.a")
  set(ZELVO_PC_LIB_zelv_games "\${libdir}/libzelv_games.a")
endif()
foreach(pc zelvo zelv_games)
  set(ZELVO_PC_LIBS "${ZELVO_PC_LIB_${pc}}")
  set(file ${PROJECT_BINARY_DIR}/package/${pc}${ZELVO_PC_SUFFIX}.pc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${file} @ONLY)
  install(FILES ${file} DESTINATION ${ZELVO_INSTALL_PKGCONFIGDIR} COMPONENT Development)
endforeach()
