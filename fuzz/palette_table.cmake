vs_fuzz(palette_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/palette_table.cpp DEPS vs_world)
