# The rich-text reader and both renderers over arbitrary composite records.
vorlix_fuzz_target(richtext ${CMAKE_CURRENT_SOURCE_DIR}/FuzzRichText.cpp LINKS vorlix_richtext standin_cd)
