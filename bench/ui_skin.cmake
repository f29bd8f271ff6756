# Skin loading benchmarks (figures in bench/README.md, "Skin loading").
add_executable(bench_ui_skin_loading ${CMAKE_CURRENT_LIST_DIR}/ui_skin_loading.cpp
  ${CMAKE_SOURCE_DIR}/tests/ui/fixtures/skin_fixtures.cpp)
target_link_libraries(bench_ui_skin_loading PRIVATE vexlo_ui_core benchmark::benchmark PkgConfig::MINIZIP PkgConfig::ZLIB)
