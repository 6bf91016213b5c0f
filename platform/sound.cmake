# The wave player behind OpenWAVE, PlayWAVE and CloseWAVE; the sound library
# plays in the module, loaded at the first sound.
target_sources(kalmora_start_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WavePlayer.cpp)
target_sources(kalmora_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SoundEffectOutput.cpp)
