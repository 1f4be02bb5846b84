# mtt_generate: generate source files with mttgen as part of a build.
#
#   mtt_generate(TARGET <target> TEMPLATE <file> MODEL <file> OUTPUT <file>
#                [EACH <list path> NAME <name template> OUTPUT <file>...]
#                [OPTIONS <mttgen option>...])
#
# adds the custom command that runs mttgen and the files it writes to
# <target>'s sources. mttgen writes a dependency file naming the template,
# every file it includes or imports and the model, so that the build runs
# it again exactly when one of them changed. With EACH, mttgen writes one
# file per element of the list, named by NAME (an -o name template, e.g.
# "${CMAKE_CURRENT_BINARY_DIR}/gen/\${name}.h"); OUTPUT then lists those
# files, for the build to know them. Relative paths are taken from the
# current source folder (TEMPLATE, MODEL) and binary folder (OUTPUT, NAME).
# The generated files are compared, not rewritten, when their text has not
# changed, so what includes them is not rebuilt for nothing; a stamp file
# tells the build that the run is done.
function(mtt_generate)
  cmake_parse_arguments(PARSE_ARGV 0 MTT "" "TARGET;TEMPLATE;MODEL;EACH;NAME" "OUTPUT;OPTIONS")
  foreach(required TARGET TEMPLATE MODEL OUTPUT)
    if(NOT MTT_${required})
      message(FATAL_ERROR "mtt_generate: ${required} is missing")
    endif()
  endforeach()
  if(MTT_EACH AND NOT MTT_NAME)
    message(FATAL_ERROR "mtt_generate: EACH needs NAME, the name template of the files")
  endif()
  if(MTT_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "mtt_generate: unknown arguments ${MTT_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(template "${MTT_TEMPLATE}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(model "${MTT_MODEL}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(outputs)
  foreach(output IN LISTS MTT_OUTPUT)
    get_filename_component(output "${output}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
    list(APPEND outputs "${output}")
  endforeach()
  # One dependency file and stamp per call.
  get_property(count GLOBAL PROPERTY MTT_GENERATE_COUNT)
  math(EXPR count "${count} + 1")
  set_property(GLOBAL PROPERTY MTT_GENERATE_COUNT ${count})
  set(base "${CMAKE_CURRENT_BINARY_DIR}/mtt_generate/${MTT_TARGET}-${count}")
  if(MTT_EACH)
    get_filename_component(name "${MTT_NAME}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
    set(what --each "${MTT_EACH}" -o "${name}")
  else()
    list(LENGTH outputs outputCount)
    if(NOT outputCount EQUAL 1)
      message(FATAL_ERROR "mtt_generate: a template writes one OUTPUT, or use EACH with NAME")
    endif()
    set(what -o "${outputs}")
  endif()
  add_custom_command(
    OUTPUT "${base}.stamp"
    BYPRODUCTS ${outputs}
    COMMAND mtt::mttgen -m "${model}" ${what} --depfile "${base}.d" --depfile-target "${base}.stamp" ${MTT_OPTIONS}
            "${template}"
    COMMAND ${CMAKE_COMMAND} -E touch "${base}.stamp"
    DEPENDS "${template}" "${model}" mtt::mttgen
    DEPFILE "${base}.d"
    COMMENT "Generating ${MTT_OUTPUT} with mttgen"
    VERBATIM)
  target_sources(${MTT_TARGET} PRIVATE "${base}.stamp" ${outputs})
endfunction()
