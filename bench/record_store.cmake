# The record store through the public C interface, beside a std::map store, an absl::btree_map and an
# in-memory SQLite table.
find_package(SQLite3 REQUIRED)
find_package(absl REQUIRED)
add_executable(record_store_bench ${CMAKE_CURRENT_LIST_DIR}/record_store_bench.cc)
target_link_libraries(record_store_bench PRIVATE tvbcclib SQLite::SQLite3 absl::btree)
target_compile_options(record_store_bench PRIVATE -Wno-restrict)  # GCC 12 misreads "literal" + std::string
