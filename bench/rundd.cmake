# The held CLP instance of librunddclib: scenario re-solves after right-hand-side changes, beside a fresh CLP
# instance per scenario and beside CLP's own warm re-solve (the floor that shows the library's share).
find_path(RUNDD_BENCH_CLP_INCLUDE ClpSimplex.hpp PATH_SUFFIXES coin coinor)
add_executable(rundd_bench ${CMAKE_CURRENT_LIST_DIR}/rundd_bench.cc)
target_include_directories(rundd_bench PRIVATE ${RUNDD_BENCH_CLP_INCLUDE})
target_link_libraries(rundd_bench PRIVATE runddclib runddcore)
