# Checks that a module's dynamic symbol table defines exactly the expected
# names. Usage: cmake -DNM=<nm> -DMODULE=<file> -DEXPECTED=<a;b;c> -P CheckExports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${MODULE}
  OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${MODULE}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(defined)
foreach(line IN LISTS lines)
  # "<address> <type> <name>"
  if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^ ]+)$")
    list(APPEND defined ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT defined)
set(expected ${EXPECTED})
list(SORT expected)
if(NOT defined STREQUAL expected)
  message(FATAL_ERROR "exports of ${MODULE}:\n  ${defined}\nexpected:\n  ${expected}")
endif()
message(STATUS "exports: ${defined}")
