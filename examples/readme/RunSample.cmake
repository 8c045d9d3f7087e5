# Runs one sample and checks that it ends well and prints what it should:
#   cmake -DPROGRAM=path -DPRINTS=regex [-DSKIPS=regex] -P RunSample.cmake
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(DEFINED SKIPS AND out MATCHES "${SKIPS}")
  message("${out}")
  return()
endif()
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ended with ${code}\n${out}${err}")
endif()
if(NOT out MATCHES "${PRINTS}")
  message(FATAL_ERROR "${PROGRAM} printed\n${out}${err}\nwhere this was expected: ${PRINTS}")
endif()
