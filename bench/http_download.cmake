# HttpDownload of 256 MB from a loopback server against `curl -o` from the same server, in the
# same run.
tq_add_bench(bench_http_download ${CMAKE_CURRENT_SOURCE_DIR}/http_download_bench.cpp LIBS tq_core)
