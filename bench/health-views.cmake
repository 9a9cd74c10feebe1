# Qt views: built with the widgets, with a main of its own that holds the QApplication.
if(TARGET solvara_ui AND TARGET solvara_platform_fake)
  add_executable(bench_health-views health-views.cpp)
  target_link_libraries(bench_health-views PRIVATE solvara_ui solvara_platform_fake benchmark::benchmark)
  solvara_target_options(bench_health-views)
endif()
