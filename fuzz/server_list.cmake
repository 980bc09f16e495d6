vs_fuzz(server_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/server_list.cpp DEPS vs_net)
