vs_bench(compose SOURCES ${CMAKE_CURRENT_LIST_DIR}/compose_bench.cpp DEPS vs_ui)
