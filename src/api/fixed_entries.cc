// The entries outside the operation table: creating and freeing databases, and the interface check. Each
// exported name of TVB_FIXED_ENTRIES is an alias of one of the functions below.
#include <cstring>

#include "api/interface_check.h"
#include "api/length_prefixed.h"
#include "api/operations.h"
#include "core/frame.h"
#include "core/messages.h"
#include "tvbcclib_fixed_entries.h"

namespace {

// Runs a creation and reports in the caller's buffer whether a database was made.
int finishCreation(tvbHandle** ptvb, char* msgBuf, int msgBufLen) {
  if (!*ptvb) {
    if (msgBuf && msgBufLen > 0) {
      std::strncpy(msgBuf, tvb::msg::kCreateFailed, msgBufLen);
      msgBuf[msgBufLen - 1] = '\0';
    }
    return 0;
  }
  if (msgBuf && msgBufLen > 0) msgBuf[0] = '\0';
  return 1;
}

}  // namespace

extern "C" {

int tvbEntryCreate(tvbHandle** ptvb, char* msgBuf, int msgBufLen) {
  if (!ptvb) tvb::assertionFailed("NULL != tvb", "tvbcclib");
  *ptvb = nullptr;
  char internal[TRV_SSSIZE];
  tvbCreate(ptvb, internal, sizeof internal);
  return finishCreation(ptvb, msgBuf, msgBufLen);
}

int tvbEntryCreateD(tvbHandle** ptvb, const char* dir, char* msgBuf, int msgBufLen) {
  if (!ptvb) tvb::assertionFailed("NULL != tvb", "tvbcclib");
  *ptvb = nullptr;
  char internal[TRV_SSSIZE];
  tvbCreateD(ptvb, dir, internal, sizeof internal);
  return finishCreation(ptvb, msgBuf, msgBufLen);
}

int tvbEntryCreateDLp(tvbHandle** ptvb, const char* dir, char* msgBuf, int msgBufLen) {
  char directory[TRV_SSSIZE];
  return tvbEntryCreateD(ptvb, tvb::lp::toZeroTerminated(dir, directory), msgBuf, msgBufLen);
}

int tvbEntryFree(tvbHandle** ptvb) {
  tvbFree(ptvb);  // asserts that the variable is given; a variable holding no database is left as it is
  return *ptvb == nullptr;
}

int tvbEntryXCreate(tvbHandle** ptvb) {
  char internal[TRV_SSSIZE];
  tvbCreate(ptvb, internal, sizeof internal);
  return *ptvb != nullptr;
}

int tvbEntryXCreateD(tvbHandle** ptvb, const char* dir) {
  char internal[TRV_SSSIZE];
  tvbCreateD(ptvb, dir, internal, sizeof internal);
  return *ptvb != nullptr;
}

int tvbEntryXCreateDLp(tvbHandle** ptvb, const char* dir) {
  char directory[TRV_SSSIZE];
  return tvbEntryXCreateD(ptvb, tvb::lp::toZeroTerminated(dir, directory));
}

int tvbEntryXFree(tvbHandle** ptvb) { return tvbEntryFree(ptvb); }

int tvbEntryApiVersion(int api, char* msg, int* compatibility) { return tvb::answerApiVersion(api, msg, compatibility); }

int tvbEntryApiVersionLp(int api, char* msg, int* compatibility) {
  char text[TRV_SSSIZE];
  int result = tvb::answerApiVersion(api, msg ? text : nullptr, compatibility);
  if (msg) tvb::lp::toLengthPrefixed(text, msg);
  return result;
}

int tvbEntryCheck(const char* name, int nargs, const int* sig, char* msg) {
  return tvb::answerCheck(name, nargs, sig, msg);
}

int tvbEntryCheckLp(const char* name, int nargs, const int* sig, char* msg) {
  char plainName[TRV_SSSIZE], text[TRV_SSSIZE];
  int result = tvb::answerCheck(tvb::lp::toZeroTerminated(name, plainName), nargs, sig, msg ? text : nullptr);
  if (msg) tvb::lp::toLengthPrefixed(text, msg);
  return result;
}

#define TVB_ALIAS_FIXED_ENTRY(result, name, target, params) result name params __attribute__((alias("tvbEntry" #target)));
TVB_FIXED_ENTRIES(TVB_ALIAS_FIXED_ENTRY)

}  // extern "C"
