vs_fuzz(server_messages SOURCES ${CMAKE_CURRENT_LIST_DIR}/server_messages.cpp DEPS vs_net)
