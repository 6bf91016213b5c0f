# The dialog "Stundenplan übernehmen" and the marks of cancelled lessons in the main window.
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CancelledLessonMarker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimetableImportDialog.cpp
)
