# The grade tree, its two files and the grade arithmetic.
target_sources(kalmora_start_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GradeArithmetic.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradeNode.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradeStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradeTree.cpp
)
