vs_bench(light SOURCES ${CMAKE_CURRENT_LIST_DIR}/light_bench.cpp DEPS vs_graphics)
