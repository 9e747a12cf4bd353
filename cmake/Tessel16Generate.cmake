# tessel16_generate(TARGET <target> SCHEMAS <file>... [NAMESPACE [<uri>=]<name>...]
#                   [OUTPUT_DIR <dir>] [NAME <stem>] [FILE_PREFIX <prefix>] [SPLIT <count>])
#
# Runs tessel16-xsd at build time and adds the generated header and sources to <target>. The
# files are <OUTPUT_DIR>/<FILE_PREFIX><NAME>.h/.cpp (defaults: ${CMAKE_CURRENT_BINARY_DIR}/
# tessel16_generated, the first schema's name + "_binding", no prefix); with SPLIT <count>
# above 1 the source is <count> files <NAME>_1.cpp ... <NAME>_<count>.cpp that the build
# compiles in parallel. OUTPUT_DIR becomes an include directory of the target. The compiler writes a dependency file, so the build runs it
# again when any schema it read (included and imported ones too) changes.
function(tessel16_generate)
  cmake_parse_arguments(arg "" "TARGET;OUTPUT_DIR;NAME;FILE_PREFIX;SPLIT" "SCHEMAS;NAMESPACE" ${ARGN})
  if(NOT arg_TARGET OR NOT arg_SCHEMAS)
    message(FATAL_ERROR "tessel16_generate: TARGET and SCHEMAS are required")
  endif()
  if(NOT arg_OUTPUT_DIR)
    set(arg_OUTPUT_DIR ${CMAKE_CURRENT_BINARY_DIR}/tessel16_generated)
  endif()
  set(schemas)
  foreach(schema IN LISTS arg_SCHEMAS)
    get_filename_component(schema ${schema} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND schemas ${schema})
  endforeach()
  if(NOT arg_NAME)
    list(GET schemas 0 first)
    get_filename_component(stem ${first} NAME_WLE)
    set(arg_NAME ${stem}_binding)
  endif()
  set(options --name ${arg_NAME})
  if(arg_FILE_PREFIX)
    list(APPEND options --file-prefix ${arg_FILE_PREFIX})
  endif()
  foreach(mapping IN LISTS arg_NAMESPACE)
    list(APPEND options --namespace ${mapping})
  endforeach()
  set(stem ${arg_OUTPUT_DIR}/${arg_FILE_PREFIX}${arg_NAME})
  set(sources ${stem}.cpp)
  if(arg_SPLIT AND arg_SPLIT GREATER 1)
    list(APPEND options --split ${arg_SPLIT})
    set(sources)
    foreach(part RANGE 1 ${arg_SPLIT})
      list(APPEND sources ${stem}_${part}.cpp)
    endforeach()
  endif()
  file(MAKE_DIRECTORY ${arg_OUTPUT_DIR})
  add_custom_command(
    OUTPUT ${stem}.h ${sources}
    COMMAND Tessel16::tessel16-xsd ${schemas} -o ${arg_OUTPUT_DIR} ${options}
            --depfile ${stem}.d
    DEPENDS ${schemas} Tessel16::tessel16-xsd
    DEPFILE ${stem}.d
    COMMENT "Generating the binding ${arg_FILE_PREFIX}${arg_NAME} with tessel16-xsd"
    VERBATIM)
  target_sources(${arg_TARGET} PRIVATE ${stem}.h ${sources})
  target_include_directories(${arg_TARGET} PUBLIC $<BUILD_INTERFACE:${arg_OUTPUT_DIR}>)
endfunction()
