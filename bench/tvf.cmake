# The TVF file library: writing and reading 2,000,000 records beside raw fwrite/fread of packed rows and an
# on-disk SQLite table, and the block codecs measured on the library's own record chunks.
find_package(SQLite3 REQUIRED)
add_executable(tvf_bench ${CMAKE_CURRENT_LIST_DIR}/tvf_bench.cc)
target_link_libraries(tvf_bench PRIVATE tvfdclib tvfcore SQLite::SQLite3)
target_compile_options(tvf_bench PRIVATE -Wno-restrict)  # GCC 12 misreads "literal" + std::string
