// Entries for the object's life, opening and closing files, the error log and the special values.
#include <memory>
#include <new>
#include <string>

#include "byte_source.h"
#include "entry_frame.h"

using tvf::ErrorCode;
using tvf::Guarded;
using tvf::Present;

namespace {

// Starts a new open: forgets the previous file's catalog and errors. Refused while a file is open.
int BeginOpen(tvfRec &t, const char *operation, const char *file_name) {
  if (t.file_open()) return t.errors.LogWithText({.code = ErrorCode::kAlreadyOpen}, operation);
  t.errors.Clear();
  t.catalog.Clear();
  t.catalog.file_name = file_name;
  return 0;
}

int OpenReader(tvfRec &t, std::unique_ptr<tvf::ByteSource> source) {
  auto reader = std::make_unique<tvf::FileReader>(&t.catalog, &t.errors, &t.specials);
  int error = reader->Open(std::move(source));
  if (error != 0) {
    std::string name = t.catalog.file_name;  // kept for the error's text
    t.catalog.Clear();
    t.catalog.file_name = name;
    return error;
  }
  t.reader = std::move(reader);
  return 0;
}

// An open that failed always hands back a non-zero error number, also when the failure was an exception.
int Finish(tvfHandle_t pt, int result, int *errNr) {
  if (result == 0 && *errNr == 0) *errNr = pt != nullptr ? pt->errors.last_number() : -1;
  if (result == 0 && *errNr == 0) *errNr = tvf::kLostErrorNumber;
  return result;
}

}  // namespace

extern "C" {

int XCreate(tvfHandle_t *pt) {
  if (pt == nullptr) return 0;
  *pt = new (std::nothrow) tvfRec;  // the members allocate nothing until used
  return *pt != nullptr ? 1 : 0;
}

int XFree(tvfHandle_t *pt) {
  if (pt == nullptr) return 1;
  delete *pt;  // a file being written is thrown away (the one of its name stays), one being read is closed
  *pt = nullptr;
  return 1;
}

int CtvfOpenRead(tvfHandle_t pt, const char *fileName, int *errNr) {
  int ignored;
  if (errNr == nullptr) errNr = &ignored;
  *errNr = 0;
  return Finish(pt,
                Guarded(pt, "tvfOpenRead",
                        [&](tvfRec &t) {
                          if (!Present(t, fileName, "tvfOpenRead", "fileName")) {
                            *errNr = t.errors.Count();
                            return 0;
                          }
                          *errNr = BeginOpen(t, "tvfOpenRead", fileName);
                          if (*errNr != 0) return 0;
                          std::string reason;
                          std::unique_ptr<tvf::ByteSource> source = tvf::OpenFileSource(fileName, &reason);
                          if (source == nullptr) {
                            *errNr = t.errors.LogWithText({.code = ErrorCode::kCannotOpen}, reason);
                            return 0;
                          }
                          *errNr = OpenReader(t, std::move(source));
                          return *errNr == 0 ? 1 : 0;
                        }),
                errNr);
}

int tvfOpenReadMemory(tvfHandle_t pt, const void *data, int size, int *errNr) {
  int ignored;
  if (errNr == nullptr) errNr = &ignored;
  *errNr = 0;
  return Finish(pt,
                Guarded(pt, "tvfOpenReadMemory",
                        [&](tvfRec &t) {
                          if (size < 0 || (data == nullptr && size > 0)) {
                            Present(t, nullptr, "tvfOpenReadMemory", "data");
                            *errNr = t.errors.Count();
                            return 0;
                          }
                          *errNr = BeginOpen(t, "tvfOpenReadMemory", "(memory)");
                          if (*errNr != 0) return 0;
                          *errNr = OpenReader(t, tvf::MakeMemorySource(data, static_cast<size_t>(size)));
                          return *errNr == 0 ? 1 : 0;
                        }),
                errNr);
}

int CtvfOpenWrite(tvfHandle_t pt, const char *fileName, const char *producer, int *errNr) {
  int ignored;
  if (errNr == nullptr) errNr = &ignored;
  *errNr = 0;
  return Finish(pt,
                Guarded(pt, "tvfOpenWrite",
                        [&](tvfRec &t) {
                          if (!Present(t, fileName, "tvfOpenWrite", "fileName")) {
                            *errNr = t.errors.Count();
                            return 0;
                          }
                          *errNr = BeginOpen(t, "tvfOpenWrite", fileName);
                          if (*errNr != 0) return 0;
                          auto writer = std::make_unique<tvf::FileWriter>(&t.catalog, &t.errors, &t.specials, t.codec);
                          *errNr = writer->Open(fileName, producer != nullptr ? producer : "");
                          if (*errNr != 0) return 0;
                          t.writer = std::move(writer);
                          return 1;
                        }),
                errNr);
}

int tvfClose(tvfHandle_t pt) {
  return Guarded(pt, "tvfClose", [&](tvfRec &t) {
    if (t.writer != nullptr) {
      // The writer goes whatever happens; a file that it did not put in place goes with it.
      std::unique_ptr<tvf::FileWriter> writer = std::move(t.writer);
      return writer->Close() ? 1 : 0;
    }
    if (t.reader != nullptr) {
      t.reader.reset();
      return 1;
    }
    t.errors.LogWithText({.code = ErrorCode::kNoFileOpen}, "tvfClose");
    return 0;
  });
}

int tvfErrorCount(tvfHandle_t pt) {
  return Guarded(pt, "tvfErrorCount", [&](tvfRec &t) { return t.errors.Count(); });
}

int tvfGetLastError(tvfHandle_t pt) {
  return Guarded(pt, "tvfGetLastError", [&](tvfRec &t) { return t.errors.PopLast(); });
}

int CtvfErrorStr(tvfHandle_t pt, int errNr, char *errMsg) {
  return Guarded(pt, "tvfErrorStr", [&](tvfRec &t) {
    if (!Present(t, errMsg, "tvfErrorStr", "errMsg")) return 0;
    tvf::CopyOut(errMsg, t.errors.Text(errNr, t.catalog));
    return 1;
  });
}

int tvfGetSpecialValues(tvfHandle_t pt, double *values) {
  return Guarded(pt, "tvfGetSpecialValues", [&](tvfRec &t) {
    if (!Present(t, values, "tvfGetSpecialValues", "values")) return 0;
    if (t.reader != nullptr) {
      t.specials.GetForReading(values);
    } else {
      t.specials.GetForWriting(values);
    }
    return 1;
  });
}

int tvfSetSpecialValues(tvfHandle_t pt, const double *values) {
  return Guarded(pt, "tvfSetSpecialValues", [&](tvfRec &t) {
    if (!Present(t, values, "tvfSetSpecialValues", "values")) return 0;
    int first = 0;
    int second = 0;
    if (!t.specials.SetForWriting(values, &first, &second)) {
      t.errors.Log({.code = ErrorCode::kBadSpecialValues, .a = first, .b = second});
      return 0;
    }
    return 1;
  });
}

int tvfSetReadSpecialValues(tvfHandle_t pt, const double *values) {
  return Guarded(pt, "tvfSetReadSpecialValues", [&](tvfRec &t) {
    if (!Present(t, values, "tvfSetReadSpecialValues", "values")) return 0;
    t.specials.SetForReading(values);
    return 1;
  });
}

int tvfSetCompression(tvfHandle_t pt, int codec) {
  return Guarded(pt, "tvfSetCompression", [&](tvfRec &t) {
    if (!tvf::IsKnownCodec(codec)) {
      t.errors.Log({.code = ErrorCode::kBadCodec, .a = codec});
      return 0;
    }
    t.codec = static_cast<tvf::Codec>(codec);
    return 1;
  });
}

int CtvfFileInfo(tvfHandle_t pt, int *formatVersion, char *producer) {
  return Guarded(pt, "tvfFileInfo", [&](tvfRec &t) {
    if (!t.file_open()) {
      t.errors.LogWithText({.code = ErrorCode::kNoFileOpen}, "tvfFileInfo");
      return 0;
    }
    if (formatVersion != nullptr) *formatVersion = static_cast<int>(t.catalog.format_version);
    tvf::CopyOut(producer, t.catalog.producer);
    return 1;
  });
}

}  // extern "C"
