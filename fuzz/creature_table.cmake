vs_fuzz(creature_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/creature_table.cpp DEPS vs_world)
