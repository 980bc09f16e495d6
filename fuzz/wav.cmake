vs_fuzz(wav SOURCES ${CMAKE_CURRENT_LIST_DIR}/wav.cpp DEPS vs_audio)
