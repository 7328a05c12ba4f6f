# UriExtract of 10,000 varied URIs against uriparser (Debian's liburiparser-dev, a
# benchmark-only dependency) parsing the same URIs and copying the same parts.
find_library(TQ_URIPARSER_LIBRARY uriparser)
if(TQ_URIPARSER_LIBRARY)
  tq_add_bench(bench_uri_extract ${CMAKE_CURRENT_SOURCE_DIR}/uri_extract_bench.cpp
    LIBS tq_core ${TQ_URIPARSER_LIBRARY})
endif()
