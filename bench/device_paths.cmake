# Reaching a file through a device path (the root, and a connected share under \Network)
# against a plain stat() of its host path, in one run.
tq_add_bench(bench_device_paths ${CMAKE_CURRENT_SOURCE_DIR}/device_paths_bench.cpp LIBS tq_platform)
