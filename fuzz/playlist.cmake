vs_fuzz(playlist SOURCES ${CMAKE_CURRENT_LIST_DIR}/playlist.cpp DEPS vs_audio mkdata_lib)
