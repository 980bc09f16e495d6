vs_fuzz(effect_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/effect_table.cpp DEPS vs_world)
