# The button and dialog "Ferien laden" on the "Ferien" tab, and the question at
# the start of a new school year.
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/HolidayLoadDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HolidayLoader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NextSchoolYearOffer.cpp
)
