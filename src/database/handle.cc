#include "database/handle.h"

#include <cstring>

#include "core/frame.h"

tvbHandle::tvbHandle(const char* systemDirectory) : database(systemDirectory) {
  const tvb::Status created = database.tvfObject().create(database.core().sysDir);
  if (!created.ok()) tvb::storeLastError(this, created);
}

namespace tvb {

DatabaseCore& coreOf(tvbHandle* handle) { return handle->database.core(); }
exchange::DatabaseTvfObject& exchange::tvfObjectOf(tvbHandle* handle) { return handle->database.tvfObject(); }
domains::DomainChecks& domains::domainChecksOf(tvbHandle* handle) { return handle->database.domainChecks(); }
model::ModelLink& model::modelLinkOf(tvbHandle* handle) { return handle->database.modelLink(); }

void storeLastError(tvbHandle* db, const Status& status) {
  if (!status.hasMessage()) return;
  const char* text = status.message();
  std::memcpy(db->lastError, text, std::strlen(text) + 1);
  announceOutOfMemory(status);
}

}  // namespace tvb
