# Checks the export directory of a built DLL: its name, and exactly the
# expected functions, each at its ordinal, with no export beyond them.
# Run as: cmake -DLIBRARY=<dll> -DOBJDUMP=<objdump> -DTABLE=Orvex|Tarvish -P CheckPeExports.cmake
cmake_minimum_required(VERSION 3.25)

# The device library's exports in the order of their numbers, 1 to 43.
set(Orvex_names
  Orvex_Version Orvex_Check Orvex_SetLPF Orvex_GetLPF Orvex_GetLPF_Frequency
  Orvex_GetLPF_Damping Orvex_GetLPF_Parameters Orvex_GetLPF_Alpha Orvex_SetHPF_Tau
  Orvex_GetHPF_Tau Orvex_GetHPF_Frequency Orvex_SetAmplification Orvex_GetAmplification
  Orvex_SetPolarity Orvex_GetPolarity Orvex_SetOffset Orvex_GetOffset Orvex_SetOffsetRange
  Orvex_GetOffsetRange Orvex_SetFLT Orvex_GetFLT Orvex_GetFLT_Frequency Orvex_GetFLT_Damping
  Orvex_GetFLT_Parameters Orvex_GetFLT_Alpha Orvex_SetAmplitude Orvex_GetAmplitude
  Orvex_GetMeasAmplit Orvex_SetOperMode Orvex_GetOperMode Orvex_FW_Ver Orvex_FW_Date
  Orvex_Prod_ID Orvex_Prod_No Orvex_Get5V Orvex_Get3V Orvex_GetTemp Orvex_GetClkCPU
  Orvex_GetClkPer Orvex_GetClkADC Orvex_GetClkDAC Orvex_GetClkFilt Orvex_GetUptime)
set(Orvex_numbered ON)
# The adapter library's eleven functions; their numbers are not fixed.
set(Tarvish_names
  Tarvish_Version Tarvish_Open Tarvish_Flush_LPT Tarvish_GetSlot Tarvish_SetSlot
  Tarvish_ErrorMessage Tarvish_IO_ErrorMessage Tarvish_Check Tarvish_Send Tarvish_Receive
  Tarvish_ReceiveString)
set(Tarvish_numbered OFF)

foreach(var LIBRARY OBJDUMP TABLE)
  if(NOT ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()
if(NOT DEFINED ${TABLE}_names)
  message(FATAL_ERROR "no table ${TABLE}")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} failed on ${LIBRARY}")
endif()

set(problems "")
# The name a program that imports from the DLL loads it by.
if(NOT headers MATCHES "\nName[ \t]+[0-9a-fA-F]+ ([^\n]+)\n")
  message(FATAL_ERROR "no export directory in ${LIBRARY}:\n${headers}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL "${TABLE}.dll")
  string(APPEND problems "  DLL name ${CMAKE_MATCH_1}, expected ${TABLE}.dll\n")
endif()
if(NOT headers MATCHES "Ordinal Base[ \t]+([0-9]+)")
  message(FATAL_ERROR "no ordinal base in ${LIBRARY}")
endif()
set(base ${CMAKE_MATCH_1})
# Every entry of the address table, named or not, counts as an export.
if(NOT headers MATCHES "Export Address Table[ \t]+([0-9a-fA-F]+)\n")
  message(FATAL_ERROR "no export address table in ${LIBRARY}")
endif()
math(EXPR addresses "0x${CMAKE_MATCH_1}")

# "[Ordinal/Name Pointer] Table" lines read "[   n] Name", n being the
# ordinal less the base.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" table "${headers}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [A-Za-z0-9_]+" entries "${table}")
set(found "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "\\[ *([0-9]+)\\] ([A-Za-z0-9_]+)" "\\1;\\2" parts "${entry}")
  list(GET parts 0 index)
  list(GET parts 1 name)
  math(EXPR ordinal "${index} + ${base}")
  list(APPEND found "${name}@${ordinal}")
endforeach()

set(expected "")
set(number 0)
foreach(name IN LISTS ${TABLE}_names)
  math(EXPR number "${number} + 1")
  list(APPEND expected "${name}@${number}")
endforeach()
if(NOT ${TABLE}_numbered)
  # Names only.
  list(TRANSFORM found REPLACE "@[0-9]+$" "")
  set(expected ${${TABLE}_names})
endif()
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  set(extra ${found})
  list(REMOVE_ITEM extra ${expected})
  set(missing ${expected})
  list(REMOVE_ITEM missing ${found})
  string(APPEND problems "  not expected: ${extra}\n  missing: ${missing}\n")
endif()
list(LENGTH expected count)
if(NOT addresses EQUAL count)
  string(APPEND problems "  ${addresses} exported addresses, expected ${count}\n")
endif()
if(problems)
  message(FATAL_ERROR "Exports of ${LIBRARY} differ:\n${problems}")
endif()
message(STATUS "${count} exports of ${TABLE}.dll as expected")
