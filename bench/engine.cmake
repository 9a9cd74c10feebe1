if(TARGET solvara_engine)
  solvara_bench(engine solvara_engine)
endif()
