# Export and import of 100,000 items against plain buffered I/O of the same bytes.
add_executable(bench_exchange ${CMAKE_CURRENT_LIST_DIR}/bench_exchange.cpp)
target_link_libraries(bench_exchange PRIVATE vellumin_core benchmark::benchmark)
