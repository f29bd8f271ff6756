# Drawing and text benchmarks (figures in bench/README.md, "Drawing and text").
add_executable(bench_gfx_blend ${CMAKE_CURRENT_LIST_DIR}/gfx_blend.cpp)
target_link_libraries(bench_gfx_blend PRIVATE vexlo_gfx benchmark::benchmark)
add_executable(bench_gfx_text ${CMAKE_CURRENT_LIST_DIR}/gfx_text.cpp)
target_link_libraries(bench_gfx_text PRIVATE vexlo_gfx benchmark::benchmark)
