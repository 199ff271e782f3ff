# Tracker tick with 0 (baseline) and 100 tracking rules.
add_executable(paste_bench ${CMAKE_CURRENT_LIST_DIR}/TrackerBench.cpp)
target_include_directories(paste_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/paste)
target_link_libraries(paste_bench PRIVATE vellumin_core benchmark::benchmark_main)
