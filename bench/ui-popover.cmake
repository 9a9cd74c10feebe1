solvara_view_bench(ui_popover ui-popover.cpp)
