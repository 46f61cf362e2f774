# The DXL reader of the stand-in runtime: any bytes give a database or an error, never a crash.
vorlix_fuzz_target(dxl ${CMAKE_CURRENT_SOURCE_DIR}/FuzzDxl.cpp LINKS standin_dxl)
