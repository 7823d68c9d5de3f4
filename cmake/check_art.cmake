# Makes the artwork again from its sources into OUTPUT and fails unless every generated file
# is byte for byte the one committed in SOURCE: the art cannot drift from what makes it.
#   cmake -DMAKE_ART=... -DSOURCE=<tree>/resources -DOUTPUT=<folder> -P check_art.cmake
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
execute_process(COMMAND ${MAKE_ART} ${SOURCE}/art ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_art failed: ${result}")
endif()
file(GLOB generated RELATIVE ${OUTPUT} ${OUTPUT}/*)
if(NOT generated)
  message(FATAL_ERROR "make_art wrote nothing")
endif()
foreach(name IN LISTS generated)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT}/${name} ${SOURCE}/${name} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} differs from what resources/art makes: run make_art ${SOURCE}/art ${SOURCE}")
  endif()
endforeach()
