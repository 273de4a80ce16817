# The streamed block transfers, built beside the link and protocol library.
add_library(writer_transfer STATIC
  ${CMAKE_CURRENT_LIST_DIR}/address_counter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/block_compare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/block_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/block_transfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream_file_transfer.cpp)
target_include_directories(writer_transfer PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(writer_transfer PUBLIC writer_core image_core)

add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/transfer_tests ${CMAKE_BINARY_DIR}/writer/core/transfer_tests)
