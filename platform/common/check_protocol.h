// The interface check and version agreement that every library loaded at run time answers: a table of the
// signatures it exports, built from its operation table, and the comparisons. Each library words its own
// messages.
#ifndef PLATFORM_CHECK_PROTOCOL_H
#define PLATFORM_CHECK_PROTOCOL_H

#include <cstddef>
#include <cstring>

namespace check_protocol {

constexpr int kMaxCodes = 21;  // result and at most 20 arguments

struct OperationSignature {
  const char *name;
  int argument_count;
  int codes[kMaxCodes];
};

template <size_t N>
constexpr OperationSignature MakeSignature(const char *name, const int (&codes)[N]) {
  static_assert(N >= 1 && N <= kMaxCodes);
  OperationSignature s{name, static_cast<int>(N) - 1, {}};
  for (size_t i = 0; i < N; ++i) s.codes[i] = codes[i];
  return s;
}

enum class Verdict { kAccepted, kNotFound, kWrongCount, kWrongTypes };

// Whether the operation `name` takes nargs arguments with the result and argument codes sig[0..nargs].
template <size_t N>
Verdict Check(const OperationSignature (&table)[N], const char *name, int nargs, const int *sig) {
  const OperationSignature *op = nullptr;
  for (const OperationSignature &o : table) {
    if (name != nullptr && std::strcmp(o.name, name) == 0) {
      op = &o;
      break;
    }
  }
  if (op == nullptr) return Verdict::kNotFound;
  if (nargs != op->argument_count) return Verdict::kWrongCount;
  for (int i = 0; i <= nargs; ++i)
    if (sig == nullptr || sig[i] != op->codes[i]) return Verdict::kWrongTypes;
  return Verdict::kAccepted;
}

// A caller of API version `api` against a library of version `own`: false when the caller is older;
// *compatibility (when given) 1 for the same version, 3 for a newer caller, 2 for an older one.
inline bool AgreeVersion(int own, int api, int *compatibility) {
  const int answer = api < own ? 2 : api == own ? 1 : 3;
  if (compatibility != nullptr) *compatibility = answer;
  return answer != 2;
}

}  // namespace check_protocol

#endif
