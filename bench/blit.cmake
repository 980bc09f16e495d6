vs_bench(blit SOURCES ${CMAKE_CURRENT_LIST_DIR}/blit_bench.cpp DEPS vs_graphics PkgConfig::SDL2)
