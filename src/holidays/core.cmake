# The table of the states' school holidays, the section "SCHULJAHR" and the
# rule when the next school year is offered.
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/HolidayTableError.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NextSchoolYear.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SchoolHolidayTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SchoolYearSettings.cpp
)
