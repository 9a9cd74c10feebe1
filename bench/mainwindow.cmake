if(TARGET solvara_ui AND TARGET solvara_platform_fake)
  # Its own main: the views need a QApplication (offscreen) before the benchmarks run.
  add_executable(bench_mainwindow mainwindow.cpp)
  target_link_libraries(bench_mainwindow PRIVATE solvara_ui solvara_platform_fake benchmark::benchmark)
  target_include_directories(bench_mainwindow PRIVATE ${CMAKE_SOURCE_DIR})
  solvara_target_options(bench_mainwindow)
endif()
