# The file-open dialogs of the windows, and where windows open.
target_sources(kalmora_start_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FileDialog.cpp ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp)
