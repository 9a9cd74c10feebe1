if(TARGET solvara_state AND TARGET solvara_platform_fake AND TARGET solvara_filestore)
  solvara_bench(state solvara_state solvara_platform_fake solvara_filestore)
endif()
