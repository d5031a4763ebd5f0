# embed_resources(TARGET <target> [DEPENDS <target-or-file> ...]
#                 RESOURCES <type> <name> <file> [<type> <name> <file> ...])
#
# Binds files into an executable as its resources, found at run time with FindResourceW. A type
# or name of decimal digits is a number (MAKEINTRESOURCEW), anything else a string name. Relative
# file paths are taken from the calling folder; generated files may be given by absolute path, with
# the target that makes them under DEPENDS when it lives in another folder. Call it once per target.
function(embed_resources)
  cmake_parse_arguments(ARG "" "TARGET" "DEPENDS;RESOURCES" ${ARGN})
  list(LENGTH ARG_RESOURCES count)
  math(EXPR remainder "${count} % 3")
  if(NOT ARG_TARGET OR count EQUAL 0 OR NOT remainder EQUAL 0)
    message(FATAL_ERROR "embed_resources: TARGET and RESOURCES as TYPE NAME FILE triples are needed")
  endif()

  set(arguments "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(index RANGE 0 ${last} 3)
    math(EXPR nameIndex "${index} + 1")
    math(EXPR fileIndex "${index} + 2")
    list(GET ARG_RESOURCES ${index} type)
    list(GET ARG_RESOURCES ${nameIndex} name)
    list(GET ARG_RESOURCES ${fileIndex} file)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND arguments "${type}" "${name}" "${file}")
    list(APPEND files "${file}")
  endforeach()

  set(output "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}_resources.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND embed_resources "${output}" ${arguments}
    DEPENDS embed_resources ${files} ${ARG_DEPENDS}
    COMMENT "Embedding resources of ${ARG_TARGET}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE "${output}")
  target_link_libraries(${ARG_TARGET} PRIVATE platform_kernel)
endfunction()
