# Keeping an exported calendar file current, and where the export and its
# option are offered: the "Extras" menu and the "Extras" tab.
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CalendarSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CalendarSync.cpp
)
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CalendarExtras.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CalendarGroup.cpp
)
