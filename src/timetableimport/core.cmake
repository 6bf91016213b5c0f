# The import's rules, the cancelled lessons of a day and the section "STUNDENPLANIMPORT".
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CancelledLessons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimetableImport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimetableImportSettings.cpp
)
