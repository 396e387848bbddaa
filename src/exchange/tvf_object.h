// TVF library objects of a database: the one made with the database (it reads the file of tvbInitFromTVF
// and serves on-demand loading) and the short-lived ones that tvbWriteTVF makes. Objects come from the
// database's system directory when it has one, else from the library beside libtvbcclib.so.
#pragma once

#include <string>

#include "core/database.h"

namespace tvb::exchange {

// Makes db->tvfHandle. A failure leaves it null with the reason in db->tvfCreateMsg and fails with "TVF create
// did not succeed: <reason>"; the database stays usable.
Status createDatabaseTvfObject(tvbHandle* db);

// Closes a file still being read (initFrom FROM_TVF), then frees db->tvfHandle.
void releaseDatabaseTvfObject(tvbHandle* db);

// A new object in *pt for the directory sysDir (may be empty). False with the reason in msg (256 bytes).
bool createTvfObject(const std::string& sysDir, tvfHandle_t* pt, char* msg);

// Tells the library that the five special values are the internal ones, for reading (values handed back)
// or for writing (values handed over). False when the library refuses them.
bool useInternalSpecialValues(tvfHandle_t pt, bool forReading);

// The text of the library's error number errNr (256 bytes).
void errorText(tvfHandle_t pt, int errNr, char* text);

// Frees a TVF object when it goes out of scope.
class ScopedTvfObject {
 public:
  ScopedTvfObject() = default;
  ~ScopedTvfObject();
  ScopedTvfObject(const ScopedTvfObject&) = delete;
  ScopedTvfObject& operator=(const ScopedTvfObject&) = delete;
  tvfHandle_t* address() { return &pt_; }
  tvfHandle_t get() const { return pt_; }

 private:
  tvfHandle_t pt_ = nullptr;
};

}  // namespace tvb::exchange
