vs_fuzz(terminal_scanner SOURCES terminal_scanner.cpp DEPS vs_net)
