#include "loaders/library_loader.h"

#include <dlfcn.h>

#include <cctype>
#include <cstring>
#include <mutex>

#include "loaders/fatal_report.h"
#include "loaders/library_file_name.h"
#include "loaders/loader_messages.h"

namespace tvb::loaders {
namespace {

// Every string that the protocol hands over fits in 256 characters.
constexpr int kStringSize = 256;
constexpr int kMaxEntryName = 256;

// The four model libraries live in one file, and their loaders may run at once, each opening that file. The
// file's initialisers run inside the first dlopen, and no loader may call into the file before they have
// finished. glibc's own lock around dlopen sees to that, but it is invisible to ThreadSanitizer and not
// promised elsewhere: files are opened one at a time under this lock.
constinit std::mutex openMutex;

void* OpenModule(const char* file) {
  std::lock_guard<std::mutex> lock(openMutex);
  return dlopen(file, RTLD_NOW | RTLD_LOCAL);
}

const char* PlatformError() {
  const char* error = dlerror();
  return error != nullptr ? error : "";
}

void CopyConverted(const char* name, char* out, int (*convert)(int)) {
  size_t i = 0;
  for (; name[i] != '\0' && i < kMaxEntryName; ++i)
    out[i] = static_cast<char>(convert(static_cast<unsigned char>(name[i])));
  out[i] = '\0';
}

}  // namespace

bool LibraryLoader::Load(const char* dir, char* msg, int msgSize) {
  std::unique_lock<std::mutex> lock = LockIfExists(libMutex_);
  ClearMessage(msg, msgSize);
  if (loaded_.load(std::memory_order_relaxed)) return true;
  return LoadUnlocked(dir, msg, msgSize);
}

bool LibraryLoader::LoadUnlocked(const char* dir, char* msg, int msgSize) {
  const LibraryFileName file = ComposeLibraryFileName(dir, table_.baseName);
  // A failed load keeps the module open: dlopen of the same file later hands back the same module.
  module_ = OpenModule(file.text);
  if (module_ == nullptr) {
    WriteMessage(msg, msgSize, msg::kCouldNotLoadLibrary, file.text, PlatformError());
    return false;
  }

  char error[kStringSize + kFileNameSize];
  for (int i = 0; i < table_.mandatoryCount; ++i) {
    mandatory_[i] = Resolve(table_.mandatoryEntries[i], error, sizeof error);
    if (mandatory_[i] == nullptr) {
      WriteMessage(msg, msgSize, msg::kCouldNotLoadSymbol, table_.mandatoryEntries[i], error);
      return false;
    }
  }

  // The library writes up to 256 characters; the caller's buffer may be smaller.
  char answer[kStringSize] = "";
  int compatibility = 0;
  const auto version = reinterpret_cast<VersionEntry>(mandatory_[table_.versionEntry]);
  if (version(table_.apiVersion, answer, &compatibility) == 0) {
    WriteMessage(msg, msgSize, "%s", answer);
    return false;
  }

  // Either may be missing; the load path only helps the library find files of its own.
  if (table_.hasLoadPath) {
    setLoadPath_ = reinterpret_cast<int (*)(const char*)>(Resolve("CtvfSetLoadPath", error, sizeof error));
    getLoadPath_ = reinterpret_cast<int (*)(char*)>(Resolve("CtvfGetLoadPath", error, sizeof error));
  }

  OperationBinder binder(*this, msg, msgSize);
  if (!table_.bindOperations(binder)) return false;

  loaded_.store(true, std::memory_order_release);
  if (setLoadPath_ != nullptr && dir != nullptr && dir[0] != '\0') setLoadPath_(dir);
  return true;
}

void* LibraryLoader::Resolve(const char* name, char* error, int errorSize) const {
  char tries[3][kMaxEntryName + 1];
  CopyConverted(name, tries[0], [](int c) { return std::tolower(c); });
  CopyConverted(name, tries[1], [](int c) { return c; });
  CopyConverted(name, tries[2], [](int c) { return std::toupper(c); });
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && std::strcmp(tries[i], tries[i - 1]) == 0) continue;
    dlerror();  // clears an earlier error, so that the one read below is this lookup's
    if (void* entry = dlsym(module_, tries[i])) return entry;
    // The failure is reported under the name as written, so the platform's text is the one for that spelling.
    if (std::strcmp(tries[i], tries[1]) == 0) WriteMessage(error, errorSize, "%s", PlatformError());
  }
  return nullptr;
}

bool OperationBinder::Check(const OperationInfo& operation, void** entry) {
  char reason[kStringSize] = "";
  const auto check = reinterpret_cast<CheckEntry>(library_.mandatory_[library_.table_.checkEntry]);
  if (check(operation.name, operation.argCount, operation.signature, reason) == 0) return true;  // the stub

  char error[kStringSize + kFileNameSize];
  *entry = library_.Resolve(operation.lookup, error, sizeof error);
  if (*entry != nullptr) return true;
  WriteMessage(msg_, msgSize_, msg::kCouldNotLoadSymbol, operation.lookup, error);
  return false;
}

void LibraryLoader::ReportMissing(const OperationInfo& operation) const {
  // The library's reason goes behind our text; it may write a whole string buffer there.
  char text[2 * kStringSize];
  WriteMessage(text, kStringSize, msg::kCouldNotBeLoaded, operation.name);
  const size_t length = std::strlen(text);
  const auto check = reinterpret_cast<CheckEntry>(mandatory_[table_.checkEntry]);
  if (check != nullptr) check(operation.name, operation.argCount, operation.signature, text + length);
  text[kStringSize - 1] = '\0';  // the report is one string of the protocol
  ReportFatal(text);
}

void LibraryLoader::CreateLocks() {
  libMutex_.emplace();
  objMutex_.emplace();
  exceptMutex_.emplace();
  locksExist_ = true;
}

void LibraryLoader::DestroyLocks() {
  locksExist_ = false;
  libMutex_.reset();
  objMutex_.reset();
  exceptMutex_.reset();
}

std::unique_lock<std::mutex> LibraryLoader::LockIfExists(std::optional<std::mutex>& mutex) {
  if (!locksExist_) return {};
  return std::unique_lock<std::mutex>(*mutex);
}

}  // namespace tvb::loaders
