# The wave player behind OpenWAVE, PlayWAVE and CloseWAVE.
target_sources(kalmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WavePlayer.cpp)
