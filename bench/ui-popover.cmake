# The popover needs a QApplication, so it brings its own main instead of benchmark_main.
if(TARGET solvara_ui AND TARGET solvara_platform_fake)
  add_executable(bench_ui_popover ui-popover.cpp)
  target_link_libraries(bench_ui_popover PRIVATE solvara_ui solvara_platform_fake benchmark::benchmark)
  target_include_directories(bench_ui_popover PRIVATE ${CMAKE_SOURCE_DIR})
  solvara_target_options(bench_ui_popover)
endif()
