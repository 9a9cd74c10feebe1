# Needs an X server: run it as tests/x11/with-xorg.sh <build>/bench/bench_x11
if(TARGET solvara_platform_linux)
  solvara_bench(x11 solvara_platform_linux solvara_color)
endif()
