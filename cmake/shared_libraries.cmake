# The three libraries are static by default and shared with -DBUILD_SHARED_LIBS=ON. Shared objects
# carry a versioned soname (one per major version, as the CMake package promises compatibility
# within a major version) and export only the declarations marked in the public headers; the
# internal helpers stay hidden. The marks come from zelvo_export.h, which is the same for both
# kinds (they install side by side); static libraries tell it so by ZELVO_STATIC, which their
# users get with them.
if(BUILD_SHARED_LIBS)
  set(ZELVO_SHARED_LIBRARIES 1)
else()
  set(ZELVO_SHARED_LIBRARIES 0)
endif()
set(ZELVO_EXPORT_HEADER_DIR ${PROJECT_BINARY_DIR}/export)
configure_file(${CMAKE_CURRENT_LIST_DIR}/zelvo_export.h.in ${ZELVO_EXPORT_HEADER_DIR}/zelvo_export.h
               COPYONLY)

foreach(lib zelvo_platform zelvo zelv_games)
  if(NOT TARGET ${lib})
    continue()
  endif()
  get_target_property(kind ${lib} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${lib} INTERFACE $<BUILD_INTERFACE:${ZELVO_EXPORT_HEADER_DIR}>)
    if(NOT BUILD_SHARED_LIBS)
      target_compile_definitions(${lib} INTERFACE ZELVO_STATIC)
    endif()
    continue()
  endif()
  target_include_directories(${lib} PUBLIC $<BUILD_INTERFACE:${ZELVO_EXPORT_HEADER_DIR}>)
  if(NOT BUILD_SHARED_LIBS)
    target_compile_definitions(${lib} PUBLIC ZELVO_STATIC)
  endif()
  set_target_properties(${lib} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    # An installed library finds the other two beside it.
    INSTALL_RPATH $ORIGIN)
endforeach()

# The platform's core is compiled once as objects of zelvo_platform (and of the null-backend library
# of the tests): it exports as zelvo_platform does.
if(TARGET zelvo_platform_core)
  target_include_directories(zelvo_platform_core PUBLIC ${ZELVO_EXPORT_HEADER_DIR})
  target_include_directories(zelvo_platform_null PUBLIC ${ZELVO_EXPORT_HEADER_DIR})
  if(NOT BUILD_SHARED_LIBS)
    target_compile_definitions(zelvo_platform_core PUBLIC ZELVO_STATIC)
    target_compile_definitions(zelvo_platform_null PUBLIC ZELVO_STATIC)
  endif()
  set_target_properties(zelvo_platform_core PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(BUILD_SHARED_LIBS)
    target_compile_definitions(zelvo_platform_core PRIVATE zelvo_platform_EXPORTS)
  endif()
endif()

# The framework is compiled once as objects of zelvo (and of the tests' zelvo_null): they export as
# zelvo does.
if(TARGET zelvo_objects)
  target_include_directories(zelvo_objects PUBLIC $<BUILD_INTERFACE:${ZELVO_EXPORT_HEADER_DIR}>)
  set_target_properties(zelvo_objects PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(BUILD_SHARED_LIBS)
    target_compile_definitions(zelvo_objects PRIVATE zelvo_EXPORTS)
  endif()
endif()
