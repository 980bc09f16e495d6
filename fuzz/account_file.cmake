vs_fuzz(account_file SOURCES account_file.cpp DEPS vs_app)
