vs_fuzz(map_pane_messages SOURCES ${CMAKE_CURRENT_LIST_DIR}/map_pane_messages.cpp DEPS vs_world)
