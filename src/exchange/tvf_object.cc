#include "exchange/tvf_object.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/special_values.h"
#include "exchange/messages.h"

namespace tvb::exchange {

bool createTvfObject(const std::string& sysDir, tvfHandle_t* pt, char* msg) {
  return sysDir.empty() ? tvf::tvfCreate(pt, msg, TRV_SSSIZE) : tvf::tvfCreateD(pt, sysDir.c_str(), msg, TRV_SSSIZE);
}

Status DatabaseTvfObject::create(const std::string& sysDir) {
  if (createTvfObject(sysDir, &tvfHandle_, tvfCreateMsg_)) return Status();
  tvfHandle_ = nullptr;
  return Status::error(msg::kTvfCreateFailed, tvfCreateMsg_);
}

void DatabaseTvfObject::release() {
  if (tvfHandle_) tvf::tvfFree(&tvfHandle_);
}

bool useInternalSpecialValues(tvfHandle_t pt, bool forReading) {
  double values[TVF_SPECIAL_VALUE_COUNT] = {};
  tvf::ops.tvfGetSpecialValues(pt, values);
  std::copy_n(kInternalSpecialValues, kSpecialValueCount, values);
  return forReading ? tvf::ops.tvfSetReadSpecialValues(pt, values) != 0 : tvf::ops.tvfSetSpecialValues(pt, values) != 0;
}

void errorText(tvfHandle_t pt, int errNr, char* text) {
  text[0] = '\0';
  tvf::ops.tvfErrorStr(pt, errNr, text);
  // The library's shortage of memory is the operation's: it fails as out of memory, not as a file error.
  if (std::strncmp(text, msg::kLibraryOutOfMemory, std::strlen(msg::kLibraryOutOfMemory)) == 0) throw std::bad_alloc();
}

ScopedTvfObject::~ScopedTvfObject() {
  if (pt_) tvf::tvfFree(&pt_);
}

}  // namespace tvb::exchange
