vs_fuzz(cursor_table SOURCES cursor_table.cpp DEPS vs_graphics)
