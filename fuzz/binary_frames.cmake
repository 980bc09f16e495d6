vs_fuzz(binary_frames SOURCES binary_frames.cpp DEPS vs_net)
