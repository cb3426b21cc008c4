# Checks the shipped .exe's headers and import table, as the toolchain's objdump shows them:
# - it imports from Windows' known DLLs only, which the loader takes from the system folder
#   whatever lies beside the program (any other DLL is loaded by base/system_libraries.cpp);
# - the loader may place it anywhere (DYNAMIC_BASE, with its relocations kept) and never runs
#   its data (NX_COMPAT); a 64-bit build also takes addresses above 4 GB (HIGH_ENTROPY_VA).
#   cmake -DOBJDUMP=... -DPROGRAM=... -DSIXTY_FOUR_BIT=ON|OFF -P shipped_executable_check.cmake
cmake_minimum_required(VERSION 3.20)
set(allowed advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll)

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed (exit status ${status})")
endif()

set(faults "")
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
  list(APPEND faults "objdump lists no imported DLL at all")
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" lower)
  if(NOT lower IN_LIST allowed)
    list(APPEND faults "imports from ${dll}, which Windows would look for beside the program first")
  endif()
endforeach()

# The file header's flags and the optional header's DLL characteristics, both in hex.
function(header_flags name out)
  if(NOT headers MATCHES "\n${name}[ \t]+(0x)?([0-9a-fA-F]+)")
    message(FATAL_ERROR "objdump -p shows no ${name} for ${PROGRAM}")
  endif()
  math(EXPR value "0x${CMAKE_MATCH_2}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()
header_flags(Characteristics file_flags)
header_flags(DllCharacteristics dll_flags)

set(required DYNAMIC_BASE 0x40 NX_COMPAT 0x100)
if(SIXTY_FOUR_BIT)
  list(APPEND required HIGH_ENTROPY_VA 0x20)
endif()
while(required)
  list(POP_FRONT required flag bit)
  math(EXPR set "${dll_flags} & ${bit}")
  if(set EQUAL 0)
    list(APPEND faults "DllCharacteristics lacks ${flag}")
  endif()
endwhile()
# IMAGE_FILE_RELOCS_STRIPPED: without its relocations the program cannot be moved after all.
math(EXPR stripped "${file_flags} & 0x1")
if(NOT stripped EQUAL 0)
  list(APPEND faults "the relocations are stripped, so DYNAMIC_BASE cannot take effect")
endif()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "${PROGRAM}:\n  ${text}")
endif()
list(LENGTH imports count)
message(STATUS "${PROGRAM}: ${count} DLLs imported, all known DLLs; DllCharacteristics ${dll_flags}")
