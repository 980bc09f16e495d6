vs_fuzz(map_file SOURCES ${CMAKE_CURRENT_LIST_DIR}/map_file.cpp DEPS vs_world)
