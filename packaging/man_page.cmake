# Writes OUT: the manual page PROGRAM prints with --man, compressed as Debian wants it (no
# name or time stamp inside, so the package builds the same bytes each time).
execute_process(COMMAND ${PROGRAM} --man COMMAND ${GZIP} -9n
  OUTPUT_FILE ${OUT} RESULTS_VARIABLE statuses)
if(NOT statuses STREQUAL "0;0")
  file(REMOVE ${OUT})
  message(FATAL_ERROR "writing the manual page failed: ${statuses}")
endif()
