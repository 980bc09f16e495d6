vs_fuzz(styled_text SOURCES styled_text.cpp DEPS vs_ui)
