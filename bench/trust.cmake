if(TARGET solvara_platform_posix)
  solvara_bench(trust solvara_platform_posix)
  target_include_directories(bench_trust PRIVATE ${CMAKE_SOURCE_DIR})
endif()
