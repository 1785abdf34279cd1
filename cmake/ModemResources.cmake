# modem_resources(<target> <TYPE> <NAME> <FILE> [<TYPE> <NAME> <FILE>]...)
#
# Embeds files in <target> as resources found at run time by type and name, case-insensitively
# (FindResource / LoadResource / SizeofResource / TResourceStream in
# platform/classlib/core/Resources.h).
# A table is generated at build time from the files (relative paths are taken from the calling
# folder) and registers itself when the program starts. For a static library the table's object
# goes to whatever links the library, so that the linker cannot drop it.
function(modem_resources target)
  set(entries ${ARGN})
  list(LENGTH entries count)
  math(EXPR remainder "${count} % 3")
  if(count EQUAL 0 OR NOT remainder EQUAL 0)
    message(FATAL_ERROR "modem_resources(${target}): give TYPE NAME FILE triples")
  endif()
  set(files "")
  set(table "")
  while(entries)
    list(POP_FRONT entries type name file)
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND files "${file}")
    string(APPEND table "${type}|${name}|${file};")
  endwhile()
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" "-DENTRIES=${table}" -P "${MODEM_RESOURCES_SCRIPT}"
    DEPENDS ${files} "${MODEM_RESOURCES_SCRIPT}"
    COMMENT "Embedding resources of ${target}"
    VERBATIM)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    add_library(${target}_resources OBJECT "${output}")
    target_link_libraries(${target}_resources PRIVATE classlib_core)
    target_sources(${target} INTERFACE $<TARGET_OBJECTS:${target}_resources>)
  else()
    target_sources(${target} PRIVATE "${output}")
  endif()
endfunction()

set(MODEM_RESOURCES_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/ModemResourcesGenerate.cmake")
