vs_fuzz(palette SOURCES ${CMAKE_CURRENT_LIST_DIR}/palette.cpp DEPS vs_resources)
