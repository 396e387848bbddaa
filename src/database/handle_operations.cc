// Creating and freeing databases, the last error, the trace level and log output.
#include <cstdio>
#include <cstring>
#include <new>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/frame.h"
#include "core/log_output.h"
#include "core/messages.h"
#include "core/trace.h"
#include "database/handle.h"

namespace tvb {
namespace {

// The failures of creation and release: kept as the last error of the database in the variable, or, when the
// variable holds none, written to standard output.
void reportCreationFailure(tvbHandle** ptvb, const Status& status) {
  if (*ptvb) {
    storeLastError(*ptvb, status);
  } else {
    std::printf("%s\n", status.message());
    std::fflush(stdout);
  }
}

void create(tvbHandle** ptvb, const char* dirName, char* msgBuf, int msgBufLen, const char* operation) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(msgBufLen > 0);
  TVB_ASSERT(msgBuf != NULL);
  *ptvb = nullptr;
  try {
    *ptvb = new tvbHandle(dirName);
  } catch (const std::bad_alloc&) {
    reportCreationFailure(ptvb, Status::outOfMemory(operation));
  } catch (const std::exception& e) {
    reportCreationFailure(ptvb, Status::error(msg::kUnexpectedException, operation, e.what()));
  }
  msgBuf[0] = '\0';
}

}  // namespace
}  // namespace tvb

void tvbCreate(tvbHandle** ptvb, char* msgBuf, int msgBufLen) { tvb::create(ptvb, "", msgBuf, msgBufLen, "tvbCreate"); }

void tvbCreateD(tvbHandle** ptvb, const char* dirName, char* msgBuf, int msgBufLen) {
  tvb::create(ptvb, dirName ? dirName : "", msgBuf, msgBufLen, "tvbCreateD");
}

void tvbFree(tvbHandle** ptvb) {
  TVB_ASSERT(ptvb != NULL);
  if (!*ptvb) return;
  try {
    delete *ptvb;
  } catch (const std::exception& e) {
    tvb::reportCreationFailure(ptvb, tvb::Status::error(tvb::msg::kUnexpectedException, "tvbFree", e.what()));
  }
  *ptvb = nullptr;
}

int tvbGetLastError(tvbHandle* ptvb, char* msg) {
  TVB_ASSERT(ptvb != NULL);
  if (!msg) return 0;  // nowhere to copy it to; a failure stored here would replace the text being asked for
  std::memcpy(msg, ptvb->lastError, std::strlen(ptvb->lastError) + 1);
  return ptvb->lastError[0] != '\0';
}

int tvbSetDebug(tvbHandle*, int level) {
  tvb::setDebugLevel(level);
  return 1;
}

int tvbPrintLog(tvbHandle* ptvb, const char* msg) {
  if (!msg) return ptvb ? tvb::finish(ptvb, tvb::nullArgument("tvbPrintLog", "msg")) : 0;
  const tvb::Status status = tvb::guard("tvbPrintLog", "tvbPrintLog", [&] {
    // Log output needs no database: without one, messages go to standard output.
    if (ptvb)
      tvb::coreOf(ptvb).log.print(msg);
    else
      tvb::LogOutput().print(msg);
    return tvb::Status();
  });
  if (status.ok()) return 1;
  // Without a database a failure has nowhere to be kept.
  if (ptvb)
    tvb::storeLastError(ptvb, status);
  else
    tvb::announceOutOfMemory(status);
  return 0;
}
