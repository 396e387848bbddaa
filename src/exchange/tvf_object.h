// TVF library objects of a database: the one made with the database (it reads the file of tvbInitFromTVF and
// serves on-demand loading) and the short-lived ones that tvbWriteTVF makes. Objects come from the database's
// system directory when it has one, else from the library beside libtvbcclib.so.
#pragma once

#include <string>

#include "core/status.h"
#include "loaders/tvfcc.h"
#include "tvbcclib.h"

namespace tvb::exchange {

// The database's own TVF object. A database whose object could not be made is usable all the same; reading a
// file then fails with the reason.
class DatabaseTvfObject {
 public:
  DatabaseTvfObject() = default;
  ~DatabaseTvfObject() { release(); }
  DatabaseTvfObject(const DatabaseTvfObject&) = delete;
  DatabaseTvfObject& operator=(const DatabaseTvfObject&) = delete;

  // Makes the object for the directory sysDir (may be empty). A failure leaves none, with the reason in
  // createMessage(), and fails with "TVF create did not succeed: <reason>".
  Status create(const std::string& sysDir);

  // Frees the object. REQUIRES: a file it was reading is closed (the file source closes it).
  void release();

  tvfHandle_t get() const { return tvfHandle_; }
  const char* createMessage() const { return tvfCreateMsg_; }
  // Where tvfOpenRead leaves its error number: 0 when the last opening for reading succeeded.
  int* openErrorNumber() { return &tvfErrNr_; }

 private:
  tvfHandle_t tvfHandle_ = nullptr;
  int tvfErrNr_ = 0;
  char tvfCreateMsg_[TRV_SSSIZE] = {};
};

// The TVF object of the database that handle wraps. Defined where the handle is (database/).
DatabaseTvfObject& tvfObjectOf(tvbHandle* handle);

// A new object in *pt for the directory sysDir (may be empty). False with the reason in msg (256 bytes).
bool createTvfObject(const std::string& sysDir, tvfHandle_t* pt, char* msg);

// Tells the library that the five special values are the internal ones, for reading (values handed back)
// or for writing (values handed over). False when the library refuses them.
bool useInternalSpecialValues(tvfHandle_t pt, bool forReading);

// The text of the library's error number errNr (256 bytes). Throws std::bad_alloc when the error is the
// library's shortage of memory.
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
