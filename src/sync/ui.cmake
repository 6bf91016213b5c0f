# The group on the "Extras" tab and the entry in the "Extras" menu.
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SyncExtras.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncGroup.cpp
)
