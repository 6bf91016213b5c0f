# The planner's dates as an iCalendar document; libical writes the format.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET GLOBAL libical)
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/CalendarEntries.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/CalendarExport.cpp
)
# Public, so that the tests can read the documents back with libical too.
target_link_libraries(kalmora_core PUBLIC PkgConfig::LIBICAL)
