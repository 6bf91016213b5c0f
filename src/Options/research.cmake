# The research tab: the catalogue "inet.txt", its download from the research
# server, the links opened in the browser, and the tree that shows them.
target_sources(kalmora_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ResearchBrowser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResearchDownload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResearchHints.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResearchServer.cpp
)
target_sources(kalmora_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ResearchImages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResearchTab.cpp
)
