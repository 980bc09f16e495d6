vs_fuzz(light_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/light_table.cpp DEPS vs_world)
