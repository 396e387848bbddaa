// Creating and freeing databases, the last error, the trace level and log output.
#include <cstdio>
#include <cstring>
#include <new>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"
#include "core/trace.h"

namespace {

// Failures of creation and release have no database to hold their text when the variable is null.
void reportCreationFailure(tvbHandle** ptvb, const char* text, const char* what) {
  char buffer[TRV_SSSIZE];
  std::snprintf(buffer, sizeof buffer, "%s%s", text, what);
  if (*ptvb) {
    std::snprintf((*ptvb)->lastError, sizeof(*ptvb)->lastError, "%s", buffer);
  } else {
    std::printf("%s\n", buffer);
    std::fflush(stdout);
  }
}

void create(tvbHandle** ptvb, const char* dirName, char* msgBuf, int msgBufLen, const char* opName) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(msgBufLen > 0);
  TVB_ASSERT(msgBuf != NULL);
  *ptvb = nullptr;
  char oom[64], unexpected[64];
  std::snprintf(oom, sizeof oom, "Out of memory in %s", opName);
  std::snprintf(unexpected, sizeof unexpected, "Unexpected exception in %s: ", opName);
  try {
    *ptvb = new tvbHandle(dirName);
  } catch (const std::bad_alloc&) {
    reportCreationFailure(ptvb, oom, "");
  } catch (const std::exception& e) {
    reportCreationFailure(ptvb, unexpected, e.what());
  }
  msgBuf[0] = '\0';
}

}  // namespace

void tvbCreate(tvbHandle** ptvb, char* msgBuf, int msgBufLen) { create(ptvb, "", msgBuf, msgBufLen, "tvbCreate"); }

void tvbCreateD(tvbHandle** ptvb, const char* dirName, char* msgBuf, int msgBufLen) {
  create(ptvb, dirName ? dirName : "", msgBuf, msgBufLen, "tvbCreateD");
}

void tvbFree(tvbHandle** ptvb) {
  TVB_ASSERT(ptvb != NULL);
  if (!*ptvb) return;
  try {
    delete *ptvb;
  } catch (const std::exception& e) {
    reportCreationFailure(ptvb, "Unexpected exception in tvbFree: ", e.what());
  }
  *ptvb = nullptr;
}

int tvbGetLastError(tvbHandle* ptvb, char* msg) {
  TVB_ASSERT(ptvb != NULL);
  std::memcpy(msg, ptvb->lastError, std::strlen(ptvb->lastError) + 1);
  return ptvb->lastError[0] != '\0';
}

int tvbSetDebug(tvbHandle*, int level) {
  tvb::setDebugLevel(level);
  return 1;
}

int tvbPrintLog(tvbHandle* ptvb, const char* msg) {
  const tvb::Status status = tvb::guard("tvbPrintLog", "tvbPrintLog", [&] {
    if (ptvb && ptvb->hostLog) {
      char lengthPrefixed[TRV_SSSIZE];
      size_t n = std::strlen(msg);
      if (n > 255) n = 255;
      lengthPrefixed[0] = static_cast<char>(n);
      std::memcpy(lengthPrefixed + 1, msg, n);
      ptvb->hostLog(lengthPrefixed, ptvb->hostHandle);
    } else {
      std::printf("%s\n", msg);
      std::fflush(stdout);
    }
    return tvb::Status();
  });
  if (status.ok()) return 1;
  // Log output needs no database: without one, a failure has nowhere to be kept.
  if (ptvb)
    tvb::storeLastError(ptvb, status);
  else
    tvb::announceOutOfMemory(status);
  return 0;
}
