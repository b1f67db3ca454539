# Builds one SQLite file from an SQL script: into a temporary file first, so a
# failed build never leaves a half-written database under the shipped name.
# ARCHIVE (optional): a compressed tar archive of data files that the script
# reads; it is unpacked into a scratch folder in which sqlite3 then runs.
get_filename_component(dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
set(tmp "${OUT}.tmp")
set(work "${OUT}.unpack")
file(REMOVE "${tmp}")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
if(ARCHIVE)
  file(ARCHIVE_EXTRACT INPUT "${ARCHIVE}" DESTINATION "${work}")
endif()
execute_process(
  COMMAND "${SQLITE3}" -bail "${tmp}"
  INPUT_FILE "${SQL}"
  WORKING_DIRECTORY "${work}"
  RESULT_VARIABLE rc
  ERROR_VARIABLE err)
file(REMOVE_RECURSE "${work}")
if(NOT rc EQUAL 0)
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "sqlite3 failed on ${SQL}: ${err}")
endif()
file(RENAME "${tmp}" "${OUT}")
