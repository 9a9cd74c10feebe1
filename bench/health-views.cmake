solvara_view_bench(health-views health-views.cpp)
