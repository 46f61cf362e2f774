# The RTF export filter's conversion over arbitrary composite-data files.
vorlix_fuzz_target(rtf ${CMAKE_CURRENT_SOURCE_DIR}/FuzzRtf.cpp LINKS standin_rtf)
