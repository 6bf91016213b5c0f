# The grade still needed: its arithmetic in the core, its box on the grades tab.
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/NeededGrade.cpp
)
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/NeededGradeBox.cpp
)
