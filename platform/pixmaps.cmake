# The small pictures of the program: drawn in code for the trees, stored ready-drawn for the buttons.
include_guard(GLOBAL)
target_sources(kalmora_start_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Pixmaps.cpp)
