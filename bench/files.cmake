# nfCompacte against gzip -6, FileReadLine's reader against std::getline, FileCopy's copy
# against cp, and ListFiles' walk against readdir + fnmatch, on the same files in one run.
tq_add_bench(bench_files ${CMAKE_CURRENT_SOURCE_DIR}/files_bench.cpp LIBS tq_core)
target_compile_definitions(bench_files PRIVATE TQ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
