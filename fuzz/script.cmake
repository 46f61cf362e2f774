# The stand-in script engine's parser and interpreter over arbitrary script texts.
vorlix_fuzz_target(script ${CMAKE_CURRENT_SOURCE_DIR}/FuzzScript.cpp LINKS standin_script)
