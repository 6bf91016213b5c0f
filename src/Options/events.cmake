# The event store with the clean-up of left-over event records.
target_sources(kalmora_start_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/EventStore.cpp
)
