vs_fuzz(frame_palettes SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_palettes.cpp DEPS vs_world)
