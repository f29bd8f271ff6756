# The updater's window road: the progress update path up to a presented frame.
add_executable(bench_app_progress_update ${CMAKE_CURRENT_LIST_DIR}/app_progress_update.cpp)
target_link_libraries(bench_app_progress_update PRIVATE vexlo_app vexlo_update_service benchmark::benchmark)
