# Scenario re-solves through the model link (a held CLP instance), beside CLP alone, a fresh CLP instance
# per scenario and GLPK afresh, on a generated 100 x 100 transportation model.
find_path(MODEL_BENCH_CLP_INCLUDE ClpSimplex.hpp PATH_SUFFIXES coin coinor)
find_library(MODEL_BENCH_CLP_LIBRARY Clp)
find_library(MODEL_BENCH_COINUTILS_LIBRARY CoinUtils)
add_executable(model_bench ${CMAKE_CURRENT_LIST_DIR}/model_bench.cc)
target_include_directories(model_bench PRIVATE ${MODEL_BENCH_CLP_INCLUDE} ${PROJECT_SOURCE_DIR}/platform/rundd)
target_link_libraries(model_bench PRIVATE tvbcclib runddclib ${MODEL_BENCH_CLP_LIBRARY} ${MODEL_BENCH_COINUTILS_LIBRARY})
target_compile_options(model_bench PRIVATE -Wno-restrict)  # GCC 12 misreads "literal" + std::string
