if(TARGET solvara_display AND TARGET solvara_platform_fake)
  solvara_bench(display solvara_display solvara_platform_fake)
endif()
