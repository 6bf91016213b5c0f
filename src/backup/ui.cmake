# Where backup and restore are offered: the "Extras" menu, the restore dialog
# and the group on the "Extras" tab.
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/BackupExtras.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackupGroup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RestoreDialog.cpp
)
