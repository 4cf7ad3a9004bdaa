# Run as a test: the same include checks as at configure time, so a header
# added to a lower layer after configuring cannot reach upwards unnoticed.
include(${ROOT}/cmake/layers.cmake)
foreach(layer ${MOK_LAYERS})
  mok_check_layer_sources(${ROOT} ${layer})
endforeach()
