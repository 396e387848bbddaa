// The check and version entries of the four libraries, answered from their operation tables (the rows that
// tvbcclib calls and the library's own additions), so that what a library claims and what it exports come
// from one source.

#include "check_protocol.h"
#include "entry_frame.h"
#include "messages.h"
#include "rundd.h"

namespace {

using check_protocol::MakeSignature;
using check_protocol::OperationSignature;

#define RUNDD_CODES(...) \
  { __VA_ARGS__ }
#define RUNDD_SIGNATURE(name, lookup, result, parameters, arguments, signature) \
  MakeSignature(#name, RUNDD_CODES signature),
#define TVP_OP RUNDD_SIGNATURE
#define TVH_OP RUNDD_SIGNATURE
#define DCT_OP RUNDD_SIGNATURE
#define CFG_OP RUNDD_SIGNATURE
// clang-format off
constexpr OperationSignature kTvp[] = {
#include "tvp_operations.h"
#include "tvp_extra_operations.h"
};
constexpr OperationSignature kTvh[] = {
#include "tvh_operations.h"
#include "tvh_extra_operations.h"
};
constexpr OperationSignature kDct[] = {
#include "dct_operations.h"
#include "dct_extra_operations.h"
};
constexpr OperationSignature kCfg[] = {
#include "cfg_operations.h"
#include "cfg_extra_operations.h"
};
// clang-format on
#undef TVP_OP
#undef TVH_OP
#undef DCT_OP
#undef CFG_OP
#undef RUNDD_SIGNATURE
#undef RUNDD_CODES

template <size_t N>
int Check(const OperationSignature (&table)[N], const char *name, int nargs, const int *sig, char *msg) noexcept {
  try {
    rundd::CopyOut(msg, "");
    const char *shown = name != nullptr ? name : "(null)";
    switch (check_protocol::Check(table, name, nargs, sig)) {
      case check_protocol::Verdict::kAccepted:
        return 1;
      case check_protocol::Verdict::kNotFound:
        rundd::CopyOut(msg, rundd::msg::CheckNotFound(shown));
        return 0;
      case check_protocol::Verdict::kWrongCount:
        rundd::CopyOut(msg, rundd::msg::CheckWrongCount(shown));
        return 0;
      case check_protocol::Verdict::kWrongTypes:
        rundd::CopyOut(msg, rundd::msg::CheckWrongTypes(shown));
        return 0;
    }
    return 0;
  } catch (...) {
    return 0;
  }
}

int AgreeVersion(const char *library, int own, int api, char *msg, int *compatibility) noexcept {
  try {
    rundd::CopyOut(msg, "");
    if (check_protocol::AgreeVersion(own, api, compatibility)) return 1;
    rundd::CopyOut(msg, rundd::msg::ApiTooOld(library, api, own));
    return 0;
  } catch (...) {
    return 0;
  }
}

}  // namespace

extern "C" {

int CtvpXCheck(const char *name, int nargs, const int *sig, char *msg) { return Check(kTvp, name, nargs, sig, msg); }
int CtvhXCheck(const char *name, int nargs, const int *sig, char *msg) { return Check(kTvh, name, nargs, sig, msg); }
int CdctXCheck(const char *name, int nargs, const int *sig, char *msg) { return Check(kDct, name, nargs, sig, msg); }
int CcfgXCheck(const char *name, int nargs, const int *sig, char *msg) { return Check(kCfg, name, nargs, sig, msg); }

int CtvpXAPIVersion(int api, char *msg, int *compatibility) {
  return AgreeVersion("tvp", RUNDD_TVP_API_VERSION, api, msg, compatibility);
}
int CtvhXAPIVersion(int api, char *msg, int *compatibility) {
  return AgreeVersion("tvh", RUNDD_TVH_API_VERSION, api, msg, compatibility);
}
int CdctXAPIVersion(int api, char *msg, int *compatibility) {
  return AgreeVersion("dct", RUNDD_DCT_API_VERSION, api, msg, compatibility);
}
int CcfgXAPIVersion(int api, char *msg, int *compatibility) {
  return AgreeVersion("cfg", RUNDD_CFG_API_VERSION, api, msg, compatibility);
}

}  // extern "C"
