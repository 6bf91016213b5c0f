# The CalDAV client on Qt Network, the VTODO/VEVENT objects through libical
# (found by the calendar export), the kept state, the merge and the password
# through QtKeychain.
find_package(Qt6Keychain REQUIRED)
set_target_properties(qt6keychain PROPERTIES IMPORTED_GLOBAL TRUE)
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CalDavClient.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HomeworkStoreSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Multistatus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncEngine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncMerge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncPassword.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncScheduler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncState.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SyncThread.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ThreadedHomeworkSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TodoMapping.cpp
)
target_link_libraries(kalmora_core PUBLIC qt6keychain)
