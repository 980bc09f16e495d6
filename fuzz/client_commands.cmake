vs_fuzz(client_commands SOURCES ${CMAKE_CURRENT_LIST_DIR}/client_commands.cpp DEPS vs_net)
