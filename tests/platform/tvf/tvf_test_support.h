// Helpers for the TVF library's tests: an object that frees itself, a scratch directory, and short forms
// of the write and read sequences that the database goes through.
#ifndef TVF_TESTS_TVF_TEST_SUPPORT_H
#define TVF_TESTS_TVF_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tvf.h"

namespace tvf_test {

// A library object for one test.
class Object {
 public:
  Object() { EXPECT_EQ(XCreate(&pt_), 1); }
  ~Object() { XFree(&pt_); }
  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;
  tvfHandle_t get() const { return pt_; }
  operator tvfHandle_t() const { return pt_; }

 private:
  tvfHandle_t pt_ = nullptr;
};

// A fresh directory under the system's temporary directory, removed with its files afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::string Path(const std::string &name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
};

// One record as the library hands it over: the key's first dim entries and five values.
struct Record {
  std::vector<int> key;
  std::vector<double> values;
};

std::string ErrorText(tvfHandle_t pt, int number);
// Every error still on the log, most recent first, as texts (the log is emptied).
std::vector<std::string> DrainErrors(tvfHandle_t pt);

// Opens `path` for writing with the given labels registered (numbers 1, 2, ...).
void OpenWriteWithLabels(tvfHandle_t pt, const std::string &path, const std::vector<std::string> &labels);
// Writes records of a symbol in the given order; keys are label numbers.
void WriteSymbol(tvfHandle_t pt, const std::string &name, int dim, int type, const std::vector<Record> &records,
                 const std::vector<std::string> *checked_domain = nullptr, const std::string &text = "");
// Reads every record of symbol `number`; fails the test when the read ends with an error.
std::vector<Record> ReadSymbol(tvfHandle_t pt, int number);
int SymbolNumber(tvfHandle_t pt, const std::string &name);

std::vector<char> ReadFile(const std::string &path);
void WriteFile(const std::string &path, const std::vector<char> &bytes);

inline uint64_t Bits(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}
inline double FromBits(uint64_t b) {
  double v;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

}  // namespace tvf_test

#endif
