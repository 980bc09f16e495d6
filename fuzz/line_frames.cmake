vs_fuzz(line_frames SOURCES line_frames.cpp DEPS vs_net)
