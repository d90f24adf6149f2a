# Makes the empty case database OUT from the schema file SCHEMA with the sqlite3 shell.
# Built under a temporary name and renamed, so an interrupted build leaves no half-made file.
file(REMOVE "${OUT}.tmp")
execute_process(COMMAND "${SQLITE3}" "${OUT}.tmp" INPUT_FILE "${SCHEMA}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE "${OUT}.tmp")
  message(FATAL_ERROR "sqlite3 could not make ${OUT} from ${SCHEMA}")
endif()
file(RENAME "${OUT}.tmp" "${OUT}")
