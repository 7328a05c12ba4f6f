# Day-number conversions and date-text reading against the standard library's calendar types.
tq_add_bench(bench_date_values ${CMAKE_CURRENT_SOURCE_DIR}/date_values_bench.cpp LIBS tq_core)
