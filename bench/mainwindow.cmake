solvara_view_bench(mainwindow mainwindow.cpp)
