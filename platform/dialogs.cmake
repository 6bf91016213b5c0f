# The file-open dialogs of the windows.
target_sources(kalmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FileDialog.cpp)
