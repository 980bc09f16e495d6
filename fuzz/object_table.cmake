vs_fuzz(object_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/object_table.cpp DEPS vs_world)
