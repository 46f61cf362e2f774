# The formula compiler and evaluator over arbitrary text, and the compiled-form reader over arbitrary bytes.
vorlix_fuzz_target(formula ${CMAKE_CURRENT_SOURCE_DIR}/FuzzFormula.cpp LINKS standin_formula)
