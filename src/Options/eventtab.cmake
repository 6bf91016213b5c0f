# The events tab of the settings window and the checks it makes before saving.
target_sources(kalmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/EventInput.cpp)
target_sources(kalmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/EventTab.cpp)
