vs_fuzz(draw_order SOURCES ${CMAKE_CURRENT_LIST_DIR}/draw_order.cpp DEPS vs_world)
