// LibraryLoader: the run-time binding of one external library, written once and instantiated per library by a
// small table (tvfcc.cc, tvpmcc.cc, tvhmcc.cc, dctmcc.cc, cfgmcc.cc). Load() opens lib<base>.so, resolves the
// mandatory entries in table order, agrees the API version, and binds every operation of the library's table
// either to the library's entry (when its check entry has the operation with our signature) or to a stub.
//
// A library is loaded once per process and never unloaded. A failed load leaves it unloaded, with the file
// kept open, so that the next call tries again from the start.
// Thread safety: Load() runs under the library's libMutex once the locks exist (created at attach). Operation
// slots are written only before the loaded flag is set; afterwards they are read without locks.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>

#include "loaders/loader_messages.h"
#include "loaders/message_buffer.h"
#include "loaders/operation_info.h"

namespace tvb::loaders {

using CheckEntry = int (*)(const char* name, int argCount, const int* signature, char* msg);
using VersionEntry = int (*)(int api, char* msg, int* compatibility);

class OperationBinder;

inline constexpr int kMaxMandatoryEntries = 5;

// What tells one library from another.
struct LibraryTable {
  const char* baseName;                 // the file is lib<baseName>.so
  int apiVersion;                       // the interface version this glue was built for
  const char* const* mandatoryEntries;  // resolved in this order; at most kMaxMandatoryEntries
  int mandatoryCount;
  int checkEntry;    // index of the check entry in mandatoryEntries
  int versionEntry;  // index of the version entry
  bool hasLoadPath;  // the TVF library's optional CtvfSetLoadPath / CtvfGetLoadPath
  // Binds every operation of the table in its order; false as soon as one fails (message written).
  bool (*bindOperations)(OperationBinder& binder);
};

class LibraryLoader {
 public:
  constexpr explicit LibraryLoader(const LibraryTable& table) : table_(table) {}
  LibraryLoader(const LibraryLoader&) = delete;
  LibraryLoader& operator=(const LibraryLoader&) = delete;

  // Loads the library from dir (null or empty: the bare file name) unless it is loaded already. msg (may be
  // null) receives the reason of a failure, cut to msgSize, and is left empty on success.
  bool Load(const char* dir, char* msg, int msgSize);
  bool IsLoaded() const { return loaded_.load(std::memory_order_acquire); }

  // A mandatory entry by its index in the table; null until a load has resolved it.
  void* MandatoryEntry(int index) const { return mandatory_[index]; }

  // Attach and detach of libtvbcclib.so: the three locks come and go together.
  void CreateLocks();
  void DestroyLocks();
  // The object and exception locks, for callers that serialise work on this library; not held when the locks
  // do not exist.
  std::unique_lock<std::mutex> LockObjects() { return LockIfExists(objMutex_); }
  std::unique_lock<std::mutex> LockExceptions() { return LockIfExists(exceptMutex_); }

  // Called by a stub: prints "<name> could not be loaded: <the library's reason>" and ends the process.
  [[noreturn]] void ReportMissing(const OperationInfo& operation) const;

 private:
  friend class OperationBinder;

  bool LoadUnlocked(const char* dir, char* msg, int msgSize);
  // The entry under its name in lower case, as written, or in upper case (the first found); null when none
  // is, with the platform's reason in error.
  void* Resolve(const char* name, char* error, int errorSize) const;
  std::unique_lock<std::mutex> LockIfExists(std::optional<std::mutex>& mutex);

  const LibraryTable& table_;
  std::atomic<bool> loaded_{false};
  void* module_ = nullptr;
  void* mandatory_[kMaxMandatoryEntries] = {};
  int (*setLoadPath_)(const char* dir) = nullptr;
  int (*getLoadPath_)(char* dir) = nullptr;
  bool locksExist_ = false;
  std::optional<std::mutex> libMutex_;
  std::optional<std::mutex> objMutex_;
  std::optional<std::mutex> exceptMutex_;
};

// Handed to a library's bindOperations during a load: checks one operation with the library and fills its
// slot with the library's entry or with the operation's stub.
class OperationBinder {
 public:
  OperationBinder(LibraryLoader& library, char* msg, int msgSize) : library_(library), msg_(msg), msgSize_(msgSize) {}

  // False when the library claims the operation but does not export its lookup name (message written).
  template <class F>
  bool Bind(const OperationInfo& operation, F& slot, F stub) {
    void* entry = nullptr;
    if (!Check(operation, &entry)) return false;
    slot = entry != nullptr ? reinterpret_cast<F>(entry) : stub;
    return true;
  }

 private:
  bool Check(const OperationInfo& operation, void** entry);

  LibraryLoader& library_;
  char* msg_;
  int msgSize_;
};

// Creating and freeing objects of the libraries that have them (tvf, cfg): load, then the library's create
// entry writes the new object; no object is the failure "Error while creating object".
template <class Handle>
bool CreateObject(LibraryLoader& library, int createEntry, Handle* pt, const char* dir, char* msg, int msgSize) {
  *pt = nullptr;
  if (!library.Load(dir, msg, msgSize)) return false;
  reinterpret_cast<int (*)(Handle*)>(library.MandatoryEntry(createEntry))(pt);
  if (*pt != nullptr) return true;
  WriteMessage(msg, msgSize, "%s", msg::kCreateFailed);
  return false;
}

template <class Handle>
bool FreeObject(LibraryLoader& library, int freeEntry, Handle* pt) {
  // Without a loaded library there can be no object of it.
  if (library.IsLoaded()) reinterpret_cast<int (*)(Handle*)>(library.MandatoryEntry(freeEntry))(pt);
  return true;
}

}  // namespace tvb::loaders
