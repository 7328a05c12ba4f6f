# NumberToString with a printf format and with a numeric mask: the workers and the whole call
# protocol against snprintf of the same value.
tq_add_bench(bench_number_format ${CMAKE_CURRENT_SOURCE_DIR}/number_format_bench.cpp
  LIBS tq_core tq_host)
target_compile_definitions(bench_number_format PRIVATE TQ_LIBRARY_PATH="$<TARGET_FILE:tq240std>")
target_link_options(bench_number_format PRIVATE
  -Wl,--dynamic-list=${CMAKE_SOURCE_DIR}/host/vm_exports.list)
add_dependencies(bench_number_format tq240std)
