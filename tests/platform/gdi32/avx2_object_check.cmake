# The AVX2 pixel loops' object file may hold AVX2 code only where nothing but a CPU check
# leads: it must define no symbol for the linker but its kernel set (an inline function or a
# template instantiated there would be AVX2 code that the linker could pick for calls from
# anywhere in the program), and run no code of its own at start-up.
#   cmake -DNM=<nm> -DOBJDUMP=<objdump> -DOBJECT=<file.o> -P avx2_object_check.cmake
execute_process(COMMAND "${NM}" --defined-only --extern-only "${OBJECT}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm could not read ${OBJECT}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(found FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES " D _ZN5win323gdi12kAvx2KernelsE$")
    set(found TRUE)
  else()
    message(SEND_ERROR "the AVX2 object defines more than its kernel set: ${line}")
  endif()
endforeach()
if(NOT found)
  message(SEND_ERROR "the AVX2 object does not define its kernel set as data")
endif()

execute_process(COMMAND "${OBJDUMP}" -h "${OBJECT}" OUTPUT_VARIABLE sections RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump could not read ${OBJECT}")
endif()
if(sections MATCHES "\\.init_array|\\.ctors")
  message(SEND_ERROR "the AVX2 object runs code at start-up")
endif()
