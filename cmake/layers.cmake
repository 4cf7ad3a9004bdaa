# The toolkit-free layers, lowest first. Each folder is one static library
# that links only the layer right below it (and so everything under that);
# a source that includes a header of a higher layer, or anything of Qt,
# stops the configuration.
set(MOK_LAYERS core image raster render panes app)

function(mok_check_layer_sources root layer)
  list(FIND MOK_LAYERS ${layer} own_rank)
  file(GLOB sources ${root}/${layer}/*.h ${root}/${layer}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
      if(line MATCHES "<Q[A-Za-z]*[>/]|Qt6::")
        message(FATAL_ERROR "Qt used in toolkit-free code: ${source}: ${line}")
      endif()
      if(line MATCHES "\"([a-z]+)/[^\"]+\"")
        list(FIND MOK_LAYERS ${CMAKE_MATCH_1} included_rank)
        if(included_rank GREATER own_rank)
          message(FATAL_ERROR "${source} includes a header of the higher layer '${CMAKE_MATCH_1}': ${line}")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()

# Adds the library mok_<layer> from the folder <layer>/, linked publicly with
# the layer below it.
function(mok_add_layer layer)
  mok_check_layer_sources(${CMAKE_SOURCE_DIR} ${layer})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*.cpp)
  add_library(mok_${layer} STATIC ${sources})
  target_include_directories(mok_${layer} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(mok_${layer} PRIVATE mok_warnings)
  list(FIND MOK_LAYERS ${layer} rank)
  if(rank GREATER 0)
    math(EXPR below "${rank} - 1")
    list(GET MOK_LAYERS ${below} lower)
    target_link_libraries(mok_${layer} PUBLIC mok_${lower})
  endif()
  get_target_property(linked mok_${layer} LINK_LIBRARIES)
  if(linked MATCHES "Qt")
    message(FATAL_ERROR "mok_${layer} links Qt: ${linked}")
  endif()
endfunction()
