# Search over 100,000 items against a plain substring scan of the same texts,
# and the result list filled and sorted for 10,000 hits.
add_executable(dialogs_bench ${CMAKE_CURRENT_LIST_DIR}/DialogsBench.cpp)
target_link_libraries(dialogs_bench PRIVATE vellumin_core benchmark::benchmark)
if(VELLUMIN_BUILD_UI AND NOT WIN32)
  target_link_libraries(dialogs_bench PRIVATE vellumin_ui)
  target_compile_definitions(dialogs_bench PRIVATE DIALOGS_BENCH_UI=1)
endif()
