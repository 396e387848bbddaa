// The mandatory entries of the loader's protocol: the interface check and version agreement, answered from
// the operation tables, and the load path that the loader hands over.
#include <cstring>
#include <mutex>
#include <string>

#include "entry_frame.h"
#include "error_messages.h"
#include "tvbcclib_signatures.h"
#include "tvf.h"

namespace {

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

#define TVF_CODES(...) \
  { __VA_ARGS__ }
#define TVF_OP(name, lookup, result, parameters, arguments, signature) MakeSignature(#name, TVF_CODES signature),
constexpr OperationSignature kOperations[] = {
// clang-format off
#include "tvf_operations.h"
#include "tvf_extra_operations.h"
    // clang-format on
};
#undef TVF_OP
#undef TVF_CODES

void WriteMessage(char *msg, const std::string &text) { tvf::CopyOut(msg, text); }

std::mutex load_path_mutex;
std::string load_path;

}  // namespace

extern "C" {

int CXCheck(const char *name, int nargs, const int *sig, char *msg) {
  try {
    if (msg != nullptr) msg[0] = '\0';
    const char *shown = name != nullptr ? name : "(null)";
    const OperationSignature *op = nullptr;
    if (name != nullptr) {
      for (const OperationSignature &o : kOperations) {
        if (std::strcmp(o.name, name) == 0) {
          op = &o;
          break;
        }
      }
    }
    if (op == nullptr) {
      WriteMessage(msg, tvf::CheckNotFoundMessage(shown));
      return 0;
    }
    if (nargs != op->argument_count) {
      WriteMessage(msg, tvf::CheckWrongCountMessage(shown));
      return 0;
    }
    for (int i = 0; i <= nargs; ++i) {
      if (sig == nullptr || sig[i] != op->codes[i]) {
        WriteMessage(msg, tvf::CheckWrongTypesMessage(shown));
        return 0;
      }
    }
    return 1;
  } catch (...) {
    return 0;
  }
}

int CXAPIVersion(int api, char *msg, int *compatibility) {
  try {
    if (msg != nullptr) msg[0] = '\0';
    if (api < TVF_API_VERSION) {
      if (compatibility != nullptr) *compatibility = 2;
      WriteMessage(msg, tvf::ApiVersionTooOldMessage(api, TVF_API_VERSION));
      return 0;
    }
    if (compatibility != nullptr) *compatibility = api == TVF_API_VERSION ? 1 : 3;
    return 1;
  } catch (...) {
    return 0;
  }
}

int CtvfSetLoadPath(const char *dir) {
  try {
    std::lock_guard<std::mutex> lock(load_path_mutex);
    load_path = dir != nullptr ? std::string(dir).substr(0, TVF_STRING_SIZE - 1) : std::string();
    return 1;
  } catch (...) {
    return 0;
  }
}

int CtvfGetLoadPath(char *dir) {
  try {
    std::lock_guard<std::mutex> lock(load_path_mutex);
    tvf::CopyOut(dir, load_path);
    return 1;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
