# Program launch against posix_spawn + waitpid, and a shared-zone notification round trip
# between two processes against a bare POSIX semaphore ping-pong.
tq_add_bench(bench_processes ${CMAKE_CURRENT_SOURCE_DIR}/processes_bench.cpp LIBS tq_core)
