# Fails when a library of the viewer calls a division or floating-point
# helper of the compiler, or a floating-point function of the C library, that
# the frame-path test does not count.
#   cmake -DNM=... -DLIBM=libm.so.6 -DLIBRARIES=a.a,b.a -DCOUNTED=name,name -P check_counted_helpers.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" libraries "${LIBRARIES}")
string(REPLACE "," ";" counted "${COUNTED}")

# Run-time helpers that neither divide nor touch floating point.
set(neutral_helpers
  __aeabi_unwind_cpp_pr0 __aeabi_unwind_cpp_pr1 __aeabi_unwind_cpp_pr2 __aeabi_atexit __aeabi_read_tp
  __aeabi_memcpy __aeabi_memcpy4 __aeabi_memcpy8 __aeabi_memmove __aeabi_memmove4 __aeabi_memmove8
  __aeabi_memset __aeabi_memset4 __aeabi_memset8 __aeabi_memclr __aeabi_memclr4 __aeabi_memclr8
  __aeabi_lmul __aeabi_llsl __aeabi_llsr __aeabi_lasr __aeabi_lcmp __aeabi_ulcmp
  __aeabi_uread4 __aeabi_uread8 __aeabi_uwrite4 __aeabi_uwrite8 __aeabi_idiv0 __aeabi_ldiv0)

execute_process(COMMAND ${NM} -D --defined-only ${LIBM} OUTPUT_VARIABLE libm_listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list ${LIBM}")
endif()
string(REGEX MATCHALL "[^\n]+" libm_lines "${libm_listing}")
set(libm_functions "")
foreach(line IN LISTS libm_lines)
  if(line MATCHES " [TiW] ([A-Za-z0-9_]+)(@@?[A-Z0-9_.]+)?$")
    list(APPEND libm_functions ${CMAKE_MATCH_1})
  endif()
endforeach()

set(uncounted "")
foreach(library IN LISTS libraries)
  execute_process(COMMAND ${NM} -u ${library} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot list ${library}")
  endif()
  string(REGEX MATCHALL "U [A-Za-z0-9_]+" references "${listing}")
  list(REMOVE_DUPLICATES references)
  foreach(reference IN LISTS references)
    string(SUBSTRING "${reference}" 2 -1 symbol)
    set(helper OFF)
    if(symbol MATCHES "^__aeabi_" AND NOT symbol IN_LIST neutral_helpers)
      set(helper ON)  # every other AEABI helper divides or works in floating point
    elseif(symbol MATCHES "^__u?(div|mod)[sdt]i3$" OR symbol MATCHES "^__u?divmod[sdt]i4$"
           OR symbol MATCHES "^__[a-z]+(sf|df|sc|dc)[0-9]?$")
      set(helper ON)  # the compiler's generic names for the same work
    elseif(symbol IN_LIST libm_functions)
      set(helper ON)
    endif()
    if(helper AND NOT symbol IN_LIST counted)
      get_filename_component(name ${library} NAME)
      list(APPEND uncounted "${symbol} (${name})")
    endif()
  endforeach()
endforeach()

if(uncounted)
  list(REMOVE_DUPLICATES uncounted)
  list(JOIN uncounted "\n  " text)
  message(FATAL_ERROR "helpers called but not counted; add them to tests/arm/CMakeLists.txt:\n  ${text}")
endif()
list(LENGTH libraries library_count)
message(STATUS "every division and floating-point helper of ${library_count} libraries is counted")
