vs_fuzz(jpf SOURCES ${CMAKE_CURRENT_LIST_DIR}/jpf.cpp DEPS vs_graphics)
