# gc_layer_root(NAME VAR): VAR = the include root through which only src/NAME is reachable, as
# "NAME/Header.h".
function(gc_layer_root name var)
  set(root ${PROJECT_BINARY_DIR}/layers/${name})
  if(NOT EXISTS ${root}/${name})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC)
  endif()
  set(${var} ${root} PARENT_SCOPE)
endfunction()

# gc_add_layer(NAME [DEPENDS LAYER...])
#
# Makes the folder src/NAME the library gc_NAME, linked to gc_<LAYER> of each layer it may use.
# A layer's headers are reachable only as "NAME/Header.h" through an include root of its own
# (build/layers/NAME/NAME points at src/NAME), and only for the layers linked along the arrows:
# an #include against the arrows names a file the compiler cannot find, so it fails the build.
function(gc_add_layer name)
  cmake_parse_arguments(LAYER "" "" "DEPENDS" ${ARGN})
  set(folder ${PROJECT_SOURCE_DIR}/src/${name})
  gc_layer_root(${name} root)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  set(deps)
  foreach(dep ${LAYER_DEPENDS})
    list(APPEND deps gc_${dep})
  endforeach()
  if(sources)
    add_library(gc_${name} STATIC ${sources})
    target_include_directories(gc_${name} PUBLIC ${root})
    target_link_libraries(gc_${name} PUBLIC ${deps})
  else()
    add_library(gc_${name} INTERFACE)
    target_include_directories(gc_${name} INTERFACE ${root})
    target_link_libraries(gc_${name} INTERFACE ${deps})
  endif()
endfunction()
