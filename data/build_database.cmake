# Builds one SQLite file from an SQL script: into a temporary file first, so a
# failed build never leaves a half-written database under the shipped name.
get_filename_component(dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
set(tmp "${OUT}.tmp")
file(REMOVE "${tmp}")
execute_process(
  COMMAND "${SQLITE3}" -bail "${tmp}"
  INPUT_FILE "${SQL}"
  RESULT_VARIABLE rc
  ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "sqlite3 failed on ${SQL}: ${err}")
endif()
file(RENAME "${tmp}" "${OUT}")
