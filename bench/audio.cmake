solvara_bench(audio solvara_audio)
