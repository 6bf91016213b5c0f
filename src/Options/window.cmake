# The settings window with its timetable and holiday tabs, the timetable
# printout and the autostart entry.
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Autostart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimetablePrintout.cpp
)
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/HolidayTab.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TForm8.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimetablePrinter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimetableTab.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimetableWeeks.cpp
)
