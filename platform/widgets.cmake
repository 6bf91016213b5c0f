# The shared controls of the windows.
target_sources(kalmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/TCalendar.cpp)
