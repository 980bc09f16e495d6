vs_fuzz(item_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/item_table.cpp DEPS vs_world)
