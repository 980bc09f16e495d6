vs_fuzz(string_table SOURCES ${CMAKE_CURRENT_LIST_DIR}/string_table.cpp DEPS vs_resources)
