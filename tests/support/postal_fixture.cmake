# Makes the postal dictionary of the test fixture from the one the build
# ships: the same schema, only the codes of three areas (100xxxx Tokyo
# Chiyoda, 530xxxx Osaka Kita, 900xxxx Naha), so that each test copies a few
# kilobytes instead of the full dictionary.
set(tmp "${OUT}.tmp")
file(REMOVE "${tmp}")
file(WRITE "${tmp}.sql" ".schema\n")
execute_process(
  COMMAND "${SQLITE3}" -bail "${FULL}"
  INPUT_FILE "${tmp}.sql"
  OUTPUT_VARIABLE schema
  RESULT_VARIABLE rc
  ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT schema MATCHES "CREATE TABLE")
  file(REMOVE "${tmp}.sql")
  message(FATAL_ERROR "cannot read the schema of ${FULL}: ${err}")
endif()
file(WRITE "${tmp}.sql" "${schema}
ATTACH DATABASE '${FULL}' AS full;
INSERT INTO main.郵便番号辞書 SELECT * FROM full.郵便番号辞書
  WHERE substr(郵便番号, 1, 3) IN ('100', '530', '900') ORDER BY rowid;
DETACH DATABASE full;
")
execute_process(
  COMMAND "${SQLITE3}" -bail "${tmp}"
  INPUT_FILE "${tmp}.sql"
  RESULT_VARIABLE rc
  ERROR_VARIABLE err)
file(REMOVE "${tmp}.sql")
if(NOT rc EQUAL 0)
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "cannot make the fixture dictionary: ${err}")
endif()
file(RENAME "${tmp}" "${OUT}")
