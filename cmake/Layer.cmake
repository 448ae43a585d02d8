# quarlo_layer(NAME DIR...) builds a static library from every .cpp below the given folders, leaving out
# files named *_main.cpp (program entry points). Sources are globbed so that adding a file needs no edit.
# A layer that has no sources yet becomes an interface library, so the layers above it still link.
function(quarlo_layer name)
  set(sources)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
    list(APPEND sources ${found})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "_main\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}")
  endif()
endfunction()

# quarlo_layer_link(NAME PUBLIC ... PRIVATE ...) links a layer, turning both into INTERFACE for an empty layer.
function(quarlo_layer_link name)
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    list(TRANSFORM ARGN REPLACE "^(PUBLIC|PRIVATE)$" "INTERFACE")
  endif()
  target_link_libraries(${name} ${ARGN})
endfunction()
