# Painting benchmarks (figures in bench/README.md, "Painting").
add_executable(bench_ui_paint ${CMAKE_CURRENT_LIST_DIR}/ui_paint.cpp)
target_link_libraries(bench_ui_paint PRIVATE vexlo_ui_core vexlo_headless vexlo_skin_package benchmark::benchmark)
