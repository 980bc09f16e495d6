vs_fuzz(font_file SOURCES ${CMAKE_CURRENT_LIST_DIR}/font_file.cpp DEPS vs_graphics)
