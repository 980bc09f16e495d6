vs_fuzz(epf_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/epf_frame.cpp DEPS vs_graphics)
