# Difference creation and application on 1, 16 and 64 MB buffers, ours against xdelta3 (the
# Debian package's command, run on the same inputs in the same run).
tq_add_bench(bench_buffer_diff ${CMAKE_CURRENT_SOURCE_DIR}/buffer_diff.cpp LIBS tq_core)
