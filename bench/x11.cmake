# The X11 display: the popup's first frame on Xvfb against headless, and presenting frames.
add_executable(bench_x11_first_frame
  ${CMAKE_CURRENT_LIST_DIR}/x11_first_frame.cpp
  ${CMAKE_SOURCE_DIR}/tests/x11/xvfb_server.cpp
  ${CMAKE_SOURCE_DIR}/tests/x11/updater_run.cpp)
target_link_libraries(bench_x11_first_frame PRIVATE vexlo_x11 vexlo_update_service)
add_dependencies(bench_x11_first_frame vexlo-updater)
target_compile_definitions(bench_x11_first_frame PRIVATE VEXLO_UPDATER_PATH="$<TARGET_FILE:vexlo-updater>")

add_executable(bench_x11_present
  ${CMAKE_CURRENT_LIST_DIR}/x11_present.cpp
  ${CMAKE_SOURCE_DIR}/tests/x11/xvfb_server.cpp)
target_link_libraries(bench_x11_present PRIVATE vexlo_x11 vexlo_headless benchmark::benchmark)
