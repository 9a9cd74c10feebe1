solvara_bench(color solvara_color)
