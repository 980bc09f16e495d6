vs_fuzz(epf_file SOURCES ${CMAKE_CURRENT_LIST_DIR}/epf_file.cpp DEPS vs_graphics)
