# Fails when the component library's file passes LIMIT bytes; prints its size either way.
file(SIZE ${DLL} size)
math(EXPR kib "${size} / 1024")
message(STATUS "${DLL}: ${size} bytes (${kib} KiB), limit ${LIMIT}")
if(size GREATER LIMIT)
  message(FATAL_ERROR "the library is ${size} bytes, more than ${LIMIT}")
endif()
