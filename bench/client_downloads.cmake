# The server client's downloads on loopback against the local update service
# (run bench/client_downloads.sh; figures in bench/README.md, section "Downloads").
add_executable(bench_client_download ${CMAKE_CURRENT_LIST_DIR}/client_download_runner.cpp)
target_link_libraries(bench_client_download PRIVATE vexlo_client)
