# The group on the "Extras" tab, the band in the main window and the window of dates.
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SchoolCalendarBand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SchoolCalendarExtras.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SchoolCalendarGroup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SchoolCalendarWindow.cpp
)
