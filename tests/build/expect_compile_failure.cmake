# Builds ALLOWED, which must compile, then each target of FORBIDDEN, which
# must fail to compile because a header cannot be found or is refused.
function(build_target target result output)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                  RESULT_VARIABLE _result OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  set(${result} ${_result} PARENT_SCOPE)
  set(${output} "${_out}${_err}" PARENT_SCOPE)
endfunction()

build_target(${ALLOWED} _result _output)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "${ALLOWED} should compile with the model's settings:\n${_output}")
endif()
foreach(_target IN LISTS FORBIDDEN)
  build_target(${_target} _result _output)
  if(_result EQUAL 0)
    message(FATAL_ERROR "${_target} compiled with the model's settings; the model boundary is open")
  endif()
  if(NOT _output MATCHES "No such file or directory|must not depend on")
    message(FATAL_ERROR "${_target} failed for another reason than the boundary:\n${_output}")
  endif()
  message(STATUS "${_target}: refused as it should be")
endforeach()
