vs_fuzz(settings_text SOURCES settings_text.cpp DEPS vs_platform)
