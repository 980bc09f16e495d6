vs_fuzz(login_result SOURCES ${CMAKE_CURRENT_LIST_DIR}/login_result.cpp DEPS vs_screens)
