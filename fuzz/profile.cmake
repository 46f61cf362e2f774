# LoadFromFile's reader over arbitrary bytes.
vorlix_fuzz_target(profile ${CMAKE_CURRENT_SOURCE_DIR}/FuzzProfile.cpp LINKS vorlix_config)
