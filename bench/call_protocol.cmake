# The cost of one standard-function call through the whole protocol against the bare worker.
tq_add_bench(bench_call_protocol ${CMAKE_CURRENT_SOURCE_DIR}/call_protocol_bench.cpp LIBS tq_host)
target_compile_definitions(bench_call_protocol PRIVATE
  TQ_LIBRARY_PATH="$<TARGET_FILE:tq240std>")
target_link_options(bench_call_protocol PRIVATE
  -Wl,--dynamic-list=${CMAKE_SOURCE_DIR}/host/vm_exports.list)
add_dependencies(bench_call_protocol tq240std)
