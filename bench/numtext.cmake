# Numbers and text: pattern matching against regexec (worker and whole call), hexadecimal and
# URL coding throughput on 1 MB, identifiers against getrandom with formatting in C.
tq_add_bench(bench_pattern_matching ${CMAKE_CURRENT_SOURCE_DIR}/pattern_matching_bench.cpp
  LIBS tq_host tq_core)
target_compile_definitions(bench_pattern_matching PRIVATE
  TQ_LIBRARY_PATH="$<TARGET_FILE:tq240std>")
target_link_options(bench_pattern_matching PRIVATE
  -Wl,--dynamic-list=${CMAKE_SOURCE_DIR}/host/vm_exports.list)
add_dependencies(bench_pattern_matching tq240std)
tq_add_bench(bench_text_encodings ${CMAKE_CURRENT_SOURCE_DIR}/text_encodings_bench.cpp
  LIBS tq_core)
