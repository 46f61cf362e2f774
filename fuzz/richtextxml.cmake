# The stand-in's XML rich text to composite records converter over arbitrary XML.
vorlix_fuzz_target(richtextxml ${CMAKE_CURRENT_SOURCE_DIR}/FuzzRichTextXml.cpp LINKS standin_cd)
