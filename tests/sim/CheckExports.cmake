# Fails unless LIBRARY's dynamic symbol table defines exactly the eleven
# adapter functions.
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(names "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  list(APPEND names ${name})
endforeach()
list(SORT names)
set(expected Tarvish_Check Tarvish_ErrorMessage Tarvish_Flush_LPT Tarvish_GetSlot
  Tarvish_IO_ErrorMessage Tarvish_Open Tarvish_Receive Tarvish_ReceiveString Tarvish_Send
  Tarvish_SetSlot Tarvish_Version)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exported: ${names}\nexpected: ${expected}")
endif()
