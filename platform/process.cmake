# Starting programs detached: the homework applications and the research links.
include_guard(GLOBAL)
target_sources(kalmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DetachedProcess.cpp)
