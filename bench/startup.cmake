# The start-up probe of bench/startup.sh: it launches the program and reads the gamma tables back
# through RandR, so it needs only Xlib and Xrandr.
if(TARGET solvara)
  find_package(X11)
  if(X11_FOUND AND X11_Xrandr_FOUND)
    add_executable(bench_startup_probe startup-probe.cpp)
    target_link_libraries(bench_startup_probe PRIVATE X11::X11 X11::Xrandr)
    solvara_target_options(bench_startup_probe)
  endif()
endif()
