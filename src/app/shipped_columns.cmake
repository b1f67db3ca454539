# Writes the tables and columns of a shipped database file, as its SQL
# builds them, into a C++ initializer list that the start-up checks include:
# the one list of what the program reads and writes, kept by the schema.
# SQLITE3: the sqlite3 program; SQL: the file's script; OUT: the list.
execute_process(
  COMMAND "${SQLITE3}" -bail :memory: ".read ${SQL}"
          "select 'COL', m.name, p.name from sqlite_master m, pragma_table_info(m.name) p
           where m.type = 'table' and m.name not like 'sqlite\\_%' escape '\\' order by m.rowid, p.cid"
  RESULT_VARIABLE rc
  OUTPUT_VARIABLE rows
  ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "sqlite3 failed on ${SQL}: ${err}")
endif()

string(REPLACE "\n" ";" rows "${rows}")
get_filename_component(name "${SQL}" NAME)
set(text "// Generated from data/${name}: its tables, each with its columns in their order.\n")
set(table "")
foreach(row IN LISTS rows)
  if(NOT row MATCHES "^COL\\|([^|]+)\\|([^|]+)$")
    continue()
  endif()
  set(t "${CMAKE_MATCH_1}")
  set(c "${CMAKE_MATCH_2}")
  if(NOT t STREQUAL table)
    if(NOT table STREQUAL "")
      string(APPEND text "}},\n")
    endif()
    string(APPEND text "{QStringLiteral(\"${t}\"), {")
    set(table "${t}")
  else()
    string(APPEND text ", ")
  endif()
  string(APPEND text "QStringLiteral(\"${c}\")")
endforeach()
if(table STREQUAL "")
  message(FATAL_ERROR "no tables in ${SQL}")
endif()
string(APPEND text "}},\n")

file(WRITE "${OUT}" "${text}")
