solvara_view_bench(view_transitions view-transitions.cpp)
