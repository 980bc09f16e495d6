vs_fuzz(devserver_script SOURCES ${CMAKE_CURRENT_LIST_DIR}/devserver_script.cpp DEPS devserver_lib)
