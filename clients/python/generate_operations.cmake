# Writes the Python module of the operation table: runs the C preprocessor over operations.py.in (which includes
# include/tvbcclib_operations.h and the model-instance tables of librunddclib.so) with the build's area
# definitions, then appends the integer constants of include/tvbcclib.h and of rundd.h as module variables.
# Inputs: CC, INCLUDE_DIR, RUNDD_DIR, TEMPLATE, OUTPUT, AREAS (NAME=0|1 definitions separated by commas).
string(REPLACE "," ";" AREAS "${AREAS}")
set(definitions)
foreach(area ${AREAS})
  list(APPEND definitions -D${area})
endforeach()
execute_process(COMMAND ${CC} -E -P -x c ${definitions} -I${INCLUDE_DIR} -I${RUNDD_DIR} ${TEMPLATE}
                OUTPUT_VARIABLE table RESULT_VARIABLE failed ERROR_VARIABLE errors)
if(failed)
  message(FATAL_ERROR "preprocessing ${TEMPLATE} failed: ${errors}")
endif()
execute_process(COMMAND ${CC} -E -dM -x c ${INCLUDE_DIR}/tvbcclib.h
                OUTPUT_VARIABLE macros RESULT_VARIABLE failed ERROR_VARIABLE errors)
if(failed)
  message(FATAL_ERROR "reading the constants of tvbcclib.h failed: ${errors}")
endif()
execute_process(COMMAND ${CC} -E -dM -x c -I${INCLUDE_DIR} -I${RUNDD_DIR} ${RUNDD_DIR}/rundd.h
                OUTPUT_VARIABLE rundd_macros RESULT_VARIABLE failed ERROR_VARIABLE errors)
if(failed)
  message(FATAL_ERROR "reading the constants of rundd.h failed: ${errors}")
endif()
string(REGEX MATCHALL "#define RUNDD_[A-Z0-9_]+ [0-9]+" rundd_constants "${rundd_macros}")
string(REGEX MATCHALL "#define (TRV|TVB|GLOBAL)_[A-Z0-9_]+ [0-9]+" constants "${macros}")
list(APPEND constants ${rundd_constants})
list(SORT constants)
set(lines "")
foreach(constant ${constants})
  string(REGEX REPLACE "#define ([A-Z0-9_]+) ([0-9]+)" "\\1 = \\2\n" line "${constant}")
  string(APPEND lines "${line}")
endforeach()
file(WRITE ${OUTPUT}.tmp "${table}\n${lines}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
