vs_fuzz(archive SOURCES ${CMAKE_CURRENT_LIST_DIR}/archive.cpp DEPS vs_resources)
