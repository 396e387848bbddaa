# Array transfer and domain checking of a 2,000,000-record parameter, beside client loops over the public
# record operations that do the same work.
add_executable(arrays_bench ${CMAKE_CURRENT_LIST_DIR}/arrays_bench.cc)
target_link_libraries(arrays_bench PRIVATE tvbcclib)
target_compile_options(arrays_bench PRIVATE -Wno-restrict)  # GCC 12 misreads "literal" + std::string
