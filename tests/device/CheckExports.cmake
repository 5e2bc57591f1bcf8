# Checks the device library's dynamic interface: exactly the 43 Orvex_
# functions are exported, and the library's SONAME is libOrvex.so.1.
# Run as: cmake -DLIBRARY=<file> -DNM=<nm> -DOBJDUMP=<objdump> -P CheckExports.cmake
cmake_minimum_required(VERSION 3.25)

set(expected
  Orvex_Check Orvex_FW_Date Orvex_FW_Ver Orvex_Get3V Orvex_Get5V
  Orvex_GetAmplification Orvex_GetAmplitude Orvex_GetClkADC Orvex_GetClkCPU
  Orvex_GetClkDAC Orvex_GetClkFilt Orvex_GetClkPer Orvex_GetFLT
  Orvex_GetFLT_Alpha Orvex_GetFLT_Damping Orvex_GetFLT_Frequency
  Orvex_GetFLT_Parameters Orvex_GetHPF_Frequency Orvex_GetHPF_Tau Orvex_GetLPF
  Orvex_GetLPF_Alpha Orvex_GetLPF_Damping Orvex_GetLPF_Frequency
  Orvex_GetLPF_Parameters Orvex_GetMeasAmplit Orvex_GetOffset
  Orvex_GetOffsetRange Orvex_GetOperMode Orvex_GetPolarity Orvex_GetTemp
  Orvex_GetUptime Orvex_Prod_ID Orvex_Prod_No Orvex_SetAmplification
  Orvex_SetAmplitude Orvex_SetFLT Orvex_SetHPF_Tau Orvex_SetLPF Orvex_SetOffset
  Orvex_SetOffsetRange Orvex_SetOperMode Orvex_SetPolarity Orvex_Version)
list(SORT expected)

foreach(var LIBRARY NM OBJDUMP)
  if(NOT ${var})
    message(FATAL_ERROR "${var} not given")
  endif()
endforeach()

execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
# Lines read "<address> <type> <name>"; keep the names.
string(REGEX REPLACE "[^\n]* ([^ \n]+)(\n|$)" "\\1;" names "${symbols}")
list(REMOVE_ITEM names "")
list(SORT names)

if(NOT names STREQUAL expected)
  set(extra ${names})
  list(REMOVE_ITEM extra ${expected})
  set(missing ${expected})
  list(REMOVE_ITEM missing ${names})
  message(FATAL_ERROR "Exported symbols differ.\n  not expected: ${extra}\n  missing: ${missing}")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY}
                OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} failed on ${LIBRARY}")
endif()
if(NOT headers MATCHES "SONAME +libOrvex\\.so\\.1\n")
  message(FATAL_ERROR "SONAME is not libOrvex.so.1:\n${headers}")
endif()
list(LENGTH names count)
message(STATUS "${count} exports as expected, SONAME libOrvex.so.1")
