# Script mode: writes to OUTPUT the form data FORM with the packed skin SKIN given to its skin
# data component COMPONENT as the property "SkinStream": a signed 32-bit little-endian byte count,
# then the bytes. The skin package is made by tools/skinpack; carrying it in the form data keeps
# the window's look with the window, and generating it keeps the form file readable.
file(READ "${FORM}" form)
file(READ "${SKIN}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")

set(digits "0123456789abcdef")
set(count "")
foreach(shift 0 8 16 24)
  math(EXPR byte "(${size} >> ${shift}) & 255")
  math(EXPR high "${byte} >> 4")
  math(EXPR low "${byte} & 15")
  string(SUBSTRING "${digits}" ${high} 1 highDigit)
  string(SUBSTRING "${digits}" ${low} 1 lowDigit)
  string(APPEND count "${highDigit}${lowDigit}")
endforeach()

# The property goes after the published ones, before the component's "end", as a form writer
# puts the properties a component defines itself.
string(REGEX MATCH "\n( *)object ${COMPONENT}: TSkinData\n" header "${form}")
if(NOT header)
  message(FATAL_ERROR "${FORM} has no skin data component ${COMPONENT}")
endif()
set(objectIndent "${CMAKE_MATCH_1}")
set(indent "${objectIndent}  ")
string(FIND "${form}" "${header}" start)
string(SUBSTRING "${form}" ${start} -1 rest)
string(FIND "${rest}" "\n${objectIndent}end\n" blockEnd)
if(blockEnd LESS 0)
  message(FATAL_ERROR "${FORM}: the component ${COMPONENT} has no end")
endif()
math(EXPR split "${start} + ${blockEnd} + 1")
string(SUBSTRING "${form}" 0 ${split} before)
string(SUBSTRING "${form}" ${split} -1 after)
string(REPEAT "[0-9a-f]" 64 line)
string(REGEX REPLACE "(${line})" "\\1\n${indent}  " lines "${count}${hex}")
set(form "${before}${indent}SkinStream = {\n${indent}  ${lines}}\n${after}")
file(WRITE "${OUTPUT}.tmp" "${form}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
