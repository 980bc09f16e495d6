vs_fuzz(ime_script SOURCES ime_script.cpp DEPS vs_client)
