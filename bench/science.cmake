solvara_view_bench(science science.cpp)
