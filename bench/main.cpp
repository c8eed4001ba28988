// One benchmark program for every bench/*.cpp, so figures that belong together come from one run.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
