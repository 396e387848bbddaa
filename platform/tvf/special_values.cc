#include "special_values.h"

#include <limits>

namespace tvf {
namespace {

double SmallestSubnormal() { return std::numeric_limits<double>::denorm_min(); }

}  // namespace

SpecialValues::SpecialValues() {
  const double defaults[kSpecialArraySize] = {1.0e300,
                                              std::numeric_limits<double>::quiet_NaN(),
                                              std::numeric_limits<double>::infinity(),
                                              -std::numeric_limits<double>::infinity(),
                                              SmallestSubnormal(),
                                              0.0,
                                              0.0};
  std::memcpy(write_, defaults, sizeof write_);
  std::memcpy(read_, defaults, sizeof read_);
  std::memcpy(reserved_, defaults + kSpecialCount, sizeof reserved_);
  for (int i = 0; i < kSpecialCount; ++i) std::memcpy(&write_bits_[i], &write_[i], sizeof(double));
  UpdateTagValues();
}

void SpecialValues::GetForWriting(double *values) const {
  std::memcpy(values, write_, sizeof write_);
  std::memcpy(values + kSpecialCount, reserved_, sizeof reserved_);
}

void SpecialValues::GetForReading(double *values) const {
  std::memcpy(values, read_, sizeof read_);
  std::memcpy(values + kSpecialCount, reserved_, sizeof reserved_);
}

bool SpecialValues::SetForWriting(const double *values, int *first, int *second) {
  uint64_t bits[kSpecialCount];
  for (int i = 0; i < kSpecialCount; ++i) {
    std::memcpy(&bits[i], &values[i], sizeof(double));
    for (int j = 0; j < i; ++j) {
      if (bits[i] == bits[j]) {
        *first = j;
        *second = i;
        return false;
      }
    }
  }
  std::memcpy(write_, values, sizeof write_);
  std::memcpy(reserved_, values + kSpecialCount, sizeof reserved_);
  std::memcpy(write_bits_, bits, sizeof write_bits_);
  return true;
}

void SpecialValues::SetForReading(const double *values) {
  std::memcpy(read_, values, sizeof read_);
  std::memcpy(reserved_, values + kSpecialCount, sizeof reserved_);
  UpdateTagValues();
}

void SpecialValues::UpdateTagValues() {
  tag_values_[static_cast<int>(ValueKind::kRaw)] = 0.0;  // not used: raw values carry their own bits
  for (int i = 0; i < kSpecialCount; ++i) tag_values_[static_cast<int>(ValueKind::kUndf) + i] = read_[i];
  tag_values_[static_cast<int>(ValueKind::kZero)] = 0.0;
  tag_values_[static_cast<int>(ValueKind::kOne)] = 1.0;
}

}  // namespace tvf
