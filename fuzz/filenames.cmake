# File-name templates (evaluate strings) and the RTF picture repair over arbitrary text.
vorlix_fuzz_target(filenames ${CMAKE_CURRENT_SOURCE_DIR}/FuzzFileNames.cpp LINKS vorlix_export)
