vs_fuzz(bitmap8 SOURCES ${CMAKE_CURRENT_LIST_DIR}/bitmap8.cpp DEPS vs_graphics)
