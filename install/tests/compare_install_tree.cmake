# Installs the build into PREFIX and compares the tree with the program folder
# KOVA_DIR: the same folders and files, and the same bytes in every data file.
# The udev rule (UDEV_DIR, outside the program folder) and what temp/ holds
# (scratch space) are left out.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

function(tree_of root out)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${root} ${root}/*)
  list(FILTER entries EXCLUDE REGEX "^temp/")
  list(SORT entries)
  set(${out} ${entries} PARENT_SCOPE)
endfunction()

tree_of(${KOVA_DIR} built)
tree_of(${PREFIX} installed)
if(NOT IS_ABSOLUTE "${UDEV_DIR}")
  # The rule's folder and every folder above it within the prefix.
  list(REMOVE_ITEM installed ${UDEV_DIR}/60-kova-writer.rules)
  set(folder ${UDEV_DIR})
  while(folder)
    list(REMOVE_ITEM installed ${folder})
    get_filename_component(folder ${folder} DIRECTORY)
  endwhile()
endif()

set(missing ${built})
list(REMOVE_ITEM missing ${installed})
set(extra ${installed})
list(REMOVE_ITEM extra ${built})
if(missing OR extra)
  list(JOIN missing "\n  " missing_text)
  list(JOIN extra "\n  " extra_text)
  message(FATAL_ERROR "installed tree differs from ${KOVA_DIR}\nnot installed:\n  ${missing_text}\n"
                      "installed but not in the program folder:\n  ${extra_text}")
endif()

foreach(entry ${built})
  if(entry MATCHES "\\.(ini|wav|pgm|pdf|lst)$")
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${KOVA_DIR}/${entry} ${PREFIX}/${entry}
      RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      message(FATAL_ERROR "installed ${entry} differs from the program folder's")
    endif()
  endif()
endforeach()
list(LENGTH built count)
message(STATUS "${count} entries installed as in the program folder")
