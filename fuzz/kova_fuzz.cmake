# Fuzz targets. In a KOVA_FUZZ build (clang) each is a libFuzzer program in
# fuzz/bin/, with its seed corpus in fuzz/seeds/NAME and its dictionary, if
# any, in fuzz/dict/NAME.dict; the target kova_fuzz builds them all and
# tools/fuzz.sh runs them. Every other build links the same code with a replay
# driver and runs it over the seed corpus as a test, so that each build checks
# the promises on the seeds.
#
#   kova_fuzz_target(NAME SOURCES file... [LIBS lib...] SEEDS script [DICT file] [TOOLS target...])
#   kova_seed_tool(NAME SOURCES file... [LIBS lib...])
#
# The SEEDS script runs as `bash script OUT_FOLDER` and writes the seed inputs
# there, made by the project's own tools: it finds them through KOVA_TOOLS
# (make_template), KOVA_BIN (the program folder's bin/) and KOVA_FUZZ_SOURCE
# (this folder, with seed_images.sh). TOOLS names further targets it runs;
# kova_seed_tool builds such a program of a target's own into KOVA_TOOLS.
set(KOVA_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)
set(KOVA_FUZZ_SOURCE ${CMAKE_CURRENT_LIST_DIR})
if(KOVA_FUZZ)
  add_custom_target(kova_fuzz)
endif()

function(kova_fuzz_target name)
  cmake_parse_arguments(ARG "" "SEEDS;DICT" "SOURCES;LIBS;TOOLS" ${ARGN})
  set(seeds ${KOVA_FUZZ_DIR}/seeds/${name})
  add_custom_command(OUTPUT ${seeds}.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${seeds}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${seeds}
    COMMAND ${CMAKE_COMMAND} -E env KOVA_TOOLS=${CMAKE_BINARY_DIR}/tools KOVA_BIN=${KOVA_BIN_DIR}
            KOVA_FUZZ_SOURCE=${KOVA_FUZZ_SOURCE} bash ${ARG_SEEDS} ${seeds}
    COMMAND ${CMAKE_COMMAND} -E touch ${seeds}.stamp
    DEPENDS ${ARG_SEEDS} ${KOVA_FUZZ_SOURCE}/seed_images.sh make_template qavgen ${ARG_TOOLS}
    COMMENT "Seed corpus of ${name}"
    VERBATIM)
  add_custom_target(${name}_seeds ALL DEPENDS ${seeds}.stamp)

  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kova_fuzz_support)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KOVA_FUZZ_DIR}/bin)
  if(ARG_DICT)
    configure_file(${ARG_DICT} ${KOVA_FUZZ_DIR}/dict/${name}.dict COPYONLY)
  endif()
  if(KOVA_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(kova_fuzz ${name} ${name}_seeds)
  else()
    target_link_libraries(${name} PRIVATE kova_fuzz_replay)
    add_test(NAME ${name}.seed_corpus COMMAND ${name} ${seeds})
    set_tests_properties(${name}.seed_corpus PROPERTIES ENVIRONMENT KOVA_FUZZ_SCRATCH=${CMAKE_BINARY_DIR}/test-tmp/fuzz)
  endif()
endfunction()

function(kova_seed_tool name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endfunction()
