# The data exchange: tvbWriteTVF and tvbInitFromTVF with every record read, beside the TVF library's own raw
# write and read of the same 2,000,000 records.
add_executable(exchange_bench ${CMAKE_CURRENT_LIST_DIR}/exchange_bench.cc)
target_link_libraries(exchange_bench PRIVATE tvbcclib tvfdclib)
target_compile_options(exchange_bench PRIVATE -Wno-restrict)  # GCC 12 misreads "literal" + std::string
