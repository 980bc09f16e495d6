vs_fuzz(village_grid SOURCES ${CMAKE_CURRENT_LIST_DIR}/village_grid.cpp DEPS vs_world)
