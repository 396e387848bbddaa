// The mandatory entries of the loader's protocol: the interface check and version agreement, answered from
// the operation tables, and the load path that the loader hands over.
#include <mutex>
#include <string>

#include "check_protocol.h"
#include "entry_frame.h"
#include "error_messages.h"
#include "tvbcclib_signatures.h"
#include "tvf.h"

namespace {

using check_protocol::MakeSignature;
using check_protocol::OperationSignature;

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
    switch (check_protocol::Check(kOperations, name, nargs, sig)) {
      case check_protocol::Verdict::kAccepted:
        return 1;
      case check_protocol::Verdict::kNotFound:
        WriteMessage(msg, tvf::CheckNotFoundMessage(shown));
        return 0;
      case check_protocol::Verdict::kWrongCount:
        WriteMessage(msg, tvf::CheckWrongCountMessage(shown));
        return 0;
      case check_protocol::Verdict::kWrongTypes:
        WriteMessage(msg, tvf::CheckWrongTypesMessage(shown));
        return 0;
    }
    return 0;
  } catch (...) {
    return 0;
  }
}

int CXAPIVersion(int api, char *msg, int *compatibility) {
  try {
    if (msg != nullptr) msg[0] = '\0';
    if (check_protocol::AgreeVersion(TVF_API_VERSION, api, compatibility)) return 1;
    WriteMessage(msg, tvf::ApiVersionTooOldMessage(api, TVF_API_VERSION));
    return 0;
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
