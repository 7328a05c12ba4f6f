# Registry value reads and writes through the whole call against the same row done with
# SQLite prepared statements; ProfileRead on a 1,000-line INI file against a plain scan.
tq_add_bench(bench_registry ${CMAKE_CURRENT_SOURCE_DIR}/registry_bench.cpp LIBS tq_host)
target_compile_definitions(bench_registry PRIVATE TQ_LIBRARY_PATH="$<TARGET_FILE:tq240std>")
target_link_options(bench_registry PRIVATE
  -Wl,--dynamic-list=${CMAKE_SOURCE_DIR}/host/vm_exports.list)
add_dependencies(bench_registry tq240std)
