vs_bench(figures SOURCES ${CMAKE_CURRENT_LIST_DIR}/figures_bench.cpp DEPS vs_world charsheet_lib mkdata_content mkdata_lib)
