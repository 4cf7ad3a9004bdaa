# Fails when a file of the toolkit-free library includes a Qt header or a
# CMake file there links a Qt target.
file(GLOB_RECURSE sources ${ROOT}/core/* ${ROOT}/render/* ${ROOT}/skin/*)
foreach(f ${sources})
  file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*<Q[A-Za-z]*[>/]|Qt6::")
  if(hits)
    message(FATAL_ERROR "Qt used in toolkit-free code: ${f}: ${hits}")
  endif()
endforeach()
