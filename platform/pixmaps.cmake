# The small pictures drawn in code for the trees of the settings window.
include_guard(GLOBAL)
target_sources(kalmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Pixmaps.cpp)
