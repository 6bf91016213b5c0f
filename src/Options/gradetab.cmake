# The grades tab of the settings window and the pictures of its tree.
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GradeImages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradeTab.cpp
)
# The drawing of the pictures, shared with the research tree.
include(${PROJECT_SOURCE_DIR}/platform/pixmaps.cmake)
