# cmake -P script: INPUT compressed to OUTPUT the way Debian wants documents
# and manual pages, at the highest level and without a time stamp or name.
if(NOT EXISTS "${INPUT}")
  message(FATAL_ERROR "Missing ${INPUT}")
endif()
execute_process(COMMAND gzip -9 -n -c "${INPUT}" OUTPUT_FILE "${OUTPUT}.tmp" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${INPUT}")
endif()
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
