# DateToString and StringToDate: the workers and the whole call protocol against strftime.
tq_add_bench(bench_date_format ${CMAKE_CURRENT_SOURCE_DIR}/date_format_bench.cpp
  LIBS tq_core tq_host)
target_compile_definitions(bench_date_format PRIVATE TQ_LIBRARY_PATH="$<TARGET_FILE:tq240std>")
target_link_options(bench_date_format PRIVATE
  -Wl,--dynamic-list=${CMAKE_SOURCE_DIR}/host/vm_exports.list)
add_dependencies(bench_date_format tq240std)
