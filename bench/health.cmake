solvara_bench(health solvara_health)
