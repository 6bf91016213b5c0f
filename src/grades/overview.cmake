# The grade overview: the table of the subjects' averages (core), its window
# with the bar chart and its place in the "Extras" menu (windows). The chart is
# drawn with Qt Charts, which only the windows link.
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GradeOverview.cpp
)
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GradeExtras.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradeOverviewChart.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradeOverviewWindow.cpp
)
target_link_libraries(kalmora_ui PUBLIC Qt6::Charts)
