// The loader's signature check as a platform library answers it for one operation of its table: confirmed
// with its own signature only, refused with one argument more or less or another code at any position (the
// result's included), each refusal with its message. Also that the lookup name marks a string-bearing one.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tvbcclib_signatures.h"

namespace tvbtest {

using CheckEntry = int (*)(const char *, int, const int *, char *);

// The result of check, and its message in *message.
inline int Check(CheckEntry check, const std::string &name, int nargs, const std::vector<int> &sig,
                 std::string *message) {
  char msg[256] = "untouched";
  const int result = check(name.c_str(), nargs, sig.data(), msg);
  *message = msg;
  return result;
}

inline void ExpectOnlyItsOwnSignatureConfirmed(CheckEntry check, const std::string &library, const std::string &name,
                                               const std::string &lookup, const std::vector<int> &signature) {
  SCOPED_TRACE(name);
  bool string_bearing = false;
  for (int code : signature) string_bearing = string_bearing || SIG_IS_STRING_BEARING(code);
  EXPECT_EQ(lookup, string_bearing ? "C" + name : name);
  const int nargs = static_cast<int>(signature.size()) - 1;
  std::string message;
  EXPECT_EQ(Check(check, name, nargs, signature, &message), 1);
  EXPECT_EQ(message, "");
  std::vector<int> longer = signature;
  longer.push_back(SIG_INT);
  EXPECT_EQ(Check(check, name, nargs + 1, longer, &message), 0);
  EXPECT_EQ(message, library + ": " + name + " has wrong number of arguments.");
  EXPECT_EQ(Check(check, name, nargs - 1, signature, &message), 0);
  for (size_t i = 0; i < signature.size(); ++i) {
    std::vector<int> changed = signature;
    changed[i] = changed[i] == SIG_DOUBLE ? SIG_INT : SIG_DOUBLE;
    EXPECT_EQ(Check(check, name, nargs, changed, &message), 0) << i;
    EXPECT_EQ(message, library + ": " + name + " has wrong argument types.");
  }
}

}  // namespace tvbtest
