vs_fuzz(part_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/part_table.cpp DEPS vs_world)
