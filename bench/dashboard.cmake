if(TARGET solvara_ui AND TARGET solvara_platform_fake)
  solvara_bench(dashboard solvara_ui solvara_platform_fake)
endif()
