// Special values: undefined, not available, +infinity, -infinity and epsilon. The store keeps one fixed
// internal representation of them; each database translates between it and its caller's representation.
// Mode 0 (caller uses the internal values) needs no translation at all, which keeps bulk transfers fast.
#pragma once

#include <cmath>
#include <limits>

namespace tvb {

inline constexpr int kSpecialValueCount = 5;

// The internal representation, in slot order UNdef, NA, +Inf, -Inf, Eps.
extern const double kInternalSpecialValues[kSpecialValueCount];

// The representation a database's caller has until it sets its own; host programs use it too.
inline constexpr double kDefaultSpecialValues[kSpecialValueCount] = {1.0e300, 2.0e300, 3.0e300, 4.0e300, 5.0e300};

// The caller's representation of a database and the translation between it and the internal one. Mode 0: the
// caller uses the internal values; 1: only epsilon differs; 2: any of them may differ.
class SpecialValues {
 public:
  // Takes the caller's five values and derives the translation mode.
  void set(const double* values);

  int mode() const { return mode_; }
  // The caller's value of slot (UNdef, NA, +Inf, -Inf, Eps).
  double caller(int slot) const { return caller_[slot]; }

  double toCaller(double v) const {
    // Ordinary values (the vast majority) pass with one comparison; NaN fails it and takes the slow path.
    if (mode_ == 0 || (std::fabs(v) < 1.0e300 && v != kInternalSpecialValues[4])) return v;
    return mode_ == 1 ? (v == kInternalSpecialValues[4] ? caller_[4] : v) : toCallerAll(v);
  }
  double toStore(double v) const {
    // Values smaller in magnitude than every caller special value pass with one comparison.
    if (mode_ == 0 || std::fabs(v) < smallestCallerMagnitude_) return v;
    return mode_ == 1 ? (v == caller_[4] ? kInternalSpecialValues[4] : v) : toStoreAll(v);
  }

 private:
  double toCallerAll(double v) const;
  double toStoreAll(double v) const;

  double caller_[kSpecialValueCount] = {kDefaultSpecialValues[0], kDefaultSpecialValues[1], kDefaultSpecialValues[2],
                                        kDefaultSpecialValues[3], kDefaultSpecialValues[4]};
  int mode_ = 2;
  double smallestCallerMagnitude_ = kDefaultSpecialValues[0];  // of the five caller values (0 when one is a NaN)
};

}  // namespace tvb
