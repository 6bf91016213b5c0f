# The data files of a backup, its manifest, the ZIP file (libarchive writes and
# reads the format), the snapshots, the restore and the command line.
find_package(LibArchive REQUIRED)
set_target_properties(LibArchive::LibArchive PROPERTIES IMPORTED_GLOBAL TRUE)
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/BackupArchive.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackupCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackupContent.cpp
)
# The start finishes a cut-off restore and reads the day's snapshot before pruning.
target_sources(kalmora_start_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/BackupManifest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackupSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataFolderLock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DataFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Restore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Snapshots.cpp
)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/BackupManifest.cpp DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTIES
    COMPILE_DEFINITIONS "KALMORA_VERSION=\"${PROJECT_VERSION}\"")
# Public, so that the tests can build hostile archives with the same library.
target_link_libraries(kalmora_core PUBLIC LibArchive::LibArchive)
