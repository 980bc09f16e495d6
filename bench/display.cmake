vs_bench(display SOURCES ${CMAKE_CURRENT_LIST_DIR}/display_bench.cpp DEPS vs_graphics)
