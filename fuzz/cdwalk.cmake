# The composite-data walk, the trace printer and the Notes bitmap decoder over arbitrary values.
vorlix_fuzz_target(cdwalk ${CMAKE_CURRENT_SOURCE_DIR}/FuzzCdWalk.cpp LINKS standin_cd)
