# Helpers shared by every module of the build.

set(TWK_COMPANY "Corvanta")
set(TWK_PRODUCT "Tarnwick Pro")

# Gives a target its version resource.
#   twk_version_resource(<target> DESCRIPTION <text> FILENAME <file> [DLL])
function(twk_version_resource target)
  cmake_parse_arguments(ARG "DLL" "DESCRIPTION;FILENAME" "" ${ARGN})
  set(TWK_FILE_DESCRIPTION "${ARG_DESCRIPTION}")
  set(TWK_ORIGINAL_FILENAME "${ARG_FILENAME}")
  get_filename_component(TWK_INTERNAL_NAME "${ARG_FILENAME}" NAME_WE)
  if(ARG_DLL)
    set(TWK_FILE_TYPE "VFT_DLL")
  else()
    set(TWK_FILE_TYPE "VFT_APP")
  endif()
  set(TWK_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
  set(TWK_VERSION_TEXT "${PROJECT_VERSION}")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()

# Converts a UTF-8 source text into the UTF-16LE text a resource holds.
#   twk_utf16_text(<out-var> <source> <output folder>)
function(twk_utf16_text out_var source out_dir)
  get_filename_component(name "${source}" NAME)
  set(out ${out_dir}/${name})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND iconv -f UTF-8 -t UTF-16LE ${source} > ${out}
    DEPENDS ${source} VERBATIM)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()

# A GoogleTest executable for one subsystem, run as one ctest test under Wine.
#   twk_test(<name> SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s])
function(twk_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE twk_test_harness ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "TWK_DIST_DIR=${TWK_DIST_DIR};TWK_TESTS_DIR=${CMAKE_BINARY_DIR}/tests"
    LABELS "${ARG_LABELS}")
endfunction()
