// Fuzzes the records of the library through its C interface: the input is the sequence of decisions of the
// differential driver (tests/support/record_differential.h), which applies each operation to the library and
// to a reference model and compares them after every step. A difference is a finding, as is a crash or a
// sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/record_differential.h"

namespace {

// One byte a decision; a used-up input ends the run.
class InputChoices : public tvbtest::Choices {
 public:
  InputChoices(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint32_t next() override { return at_ < size_ ? data_[at_++] : 0; }
  bool done() const override { return at_ >= size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputChoices choices(data, size);
  const tvbtest::DifferentialRun run = tvbtest::runRecordDifferential(choices, 1000);
  if (!run.mismatch.empty()) {
    std::fprintf(stderr, "library and model differ at %s\n", run.mismatch.c_str());
    std::abort();
  }
  return 0;
}
