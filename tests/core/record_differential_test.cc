// Records through the public interface against a reference model: random operations on sets, parameters and
// variables of 0 to 3 dimensions in two databases, compared after every step (support/record_differential.h).
#include "support/record_differential.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

class GeneratedChoices : public tvbtest::Choices {
 public:
  explicit GeneratedChoices(unsigned run) : generator_(run) {}
  uint32_t next() override { return generator_(); }

 private:
  std::mt19937 generator_;
};

TEST(RecordDifferential, LibraryAgreesWithAnOrderedMapAfterEveryStep) {
  int64_t largest = 0;
  for (unsigned run = 1; run <= 3; ++run) {
    GeneratedChoices choices(run);
    const tvbtest::DifferentialRun result = tvbtest::runRecordDifferential(choices, 1500);
    EXPECT_EQ("", result.mismatch) << "run " << run;
    largest = std::max(largest, result.largestVariable);
  }
  // The runs reach trees of three levels, whose inner nodes split and merge: a 2 KB leaf holds at most 36
  // records of a three-label variable and a 4 KB inner node 203 children.
  EXPECT_GT(largest, 36 * 203);
}

}  // namespace
