// Differential runs of the record store: a random sequence of record operations applied through the public C
// interface to two databases and to a plain reference model beside them (ordered maps from label-number keys
// to values), compared after every step. The unit test draws its choices from a generator, the fuzzer from
// its input, so that both run the same operations and the same checks.
#pragma once

#include <cstdint>
#include <string>

namespace tvbtest {

// Where a run's decisions come from.
class Choices {
 public:
  virtual ~Choices() = default;
  virtual uint32_t next() = 0;
  virtual bool done() const { return false; }  // a fuzz input is used up
  // A number in [0, n), n at most 65536.
  int below(int n) {
    uint32_t v = next();
    if (n > 256) v = v << 8 | next();
    return static_cast<int>(v % static_cast<uint32_t>(n));
  }
};

struct DifferentialRun {
  std::string mismatch;  // empty when library and model agreed throughout; else the first difference
  int steps = 0;
  int64_t largestVariable = 0;  // the most records one variable held: deep trees need thousands
};

DifferentialRun runRecordDifferential(Choices& choices, int maxSteps);

}  // namespace tvbtest
