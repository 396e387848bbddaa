#include "error_messages.h"

#include <cstdarg>
#include <cstdio>

#include "catalog.h"

namespace tvf {
namespace {

__attribute__((format(printf, 1, 2))) std::string Format(const char *format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

const char *SlotName(int64_t slot) {
  static const char *const kNames[] = {"UNDF", "NA", "PINF", "MINF", "EPS"};
  return slot >= 0 && slot < 5 ? kNames[slot] : "?";
}

std::string SymbolName(const Catalog &catalog, int32_t symbol) {
  if (symbol < 0 || static_cast<size_t>(symbol) >= catalog.symbols.size()) return "?";
  return catalog.symbols[static_cast<size_t>(symbol)].name;
}

std::string LabelText(const Catalog &catalog, int64_t nr) {
  if (nr < 1 || nr > catalog.labels.size()) return Format("#%lld", static_cast<long long>(nr));
  std::string_view label = catalog.labels.Get(static_cast<int>(nr));
  return Format("'%.*s'", static_cast<int>(label.size()), label.data());
}

std::string DomainName(const Catalog &catalog, const ErrorEntry &e) {
  if (e.symbol < 0 || static_cast<size_t>(e.symbol) >= catalog.symbols.size()) return "?";
  const SymbolEntry &s = catalog.symbols[static_cast<size_t>(e.symbol)];
  return e.position < s.dim ? std::string(DomainName(s, e.position)) : "?";
}

std::string KeyText(const Catalog &catalog, const int32_t *key, int dim) {
  std::string text = "(";
  for (int i = 0; i < dim; ++i) {
    if (i > 0) text += ",";
    text += LabelText(catalog, key[i]);
  }
  return text + ")";
}

long long N(int64_t v) { return static_cast<long long>(v); }

}  // namespace

std::string FormatError(const ErrorEntry &e, const ErrorLog &log, const Catalog &catalog) {
  auto text = [&](int64_t index) { return log.String(index).c_str(); };
  const std::string sym = SymbolName(catalog, e.symbol);
  const char *file = catalog.file_name.c_str();
  const int position = e.position + 1;
  switch (e.code) {
    case ErrorCode::kOutOfMemory:
      return Format("out of memory in %s", text(e.a));
    case ErrorCode::kUnexpected:
      return Format("unexpected exception in %s: %s", text(e.a), text(e.b));
    case ErrorCode::kNullArgument:
      return Format("%s: argument %s is a null pointer", text(e.a), text(e.b));
    case ErrorCode::kAlreadyOpen:
      return Format("%s: a file is open; close it first", text(e.a));
    case ErrorCode::kNoFileOpen:
      return Format("%s: no file is open", text(e.a));
    case ErrorCode::kNotWriting:
      return Format("%s: no file is open for writing", text(e.a));
    case ErrorCode::kNotReading:
      return Format("%s: no file is open for reading", text(e.a));
    case ErrorCode::kNoSymbolStarted:
      return Format("%s: no symbol is being written (tvfDataWriteRawStart comes first)", text(e.a));
    case ErrorCode::kSymbolInProgress:
      return Format("%s: the records of symbol '%s' are being written (tvfDataWriteDone comes first)", text(e.a),
                    sym.c_str());
    case ErrorCode::kNotRegistering:
      return Format("%s: labels are registered between tvfUELRegisterRawStart and tvfUELRegisterDone", text(e.a));
    case ErrorCode::kRegistering:
      return Format("%s: labels are being registered (tvfUELRegisterDone comes first)", text(e.a));
    case ErrorCode::kNoReadStarted:
      return Format("%s: no symbol is being read (tvfDataReadRawStart comes first)", text(e.a));
    case ErrorCode::kBadCodec:
      return Format("compression %lld is not known (0 none, 1 lz4, 2 zstd)", N(e.a));
    case ErrorCode::kBadSpecialValues:
      return Format("special values %s and %s are the same double, so written values would be ambiguous", SlotName(e.a),
                    SlotName(e.b));
    case ErrorCode::kCannotOpen:
      return Format("cannot open file '%s': %s", file, text(e.a));
    case ErrorCode::kCannotCreate:
      return Format("cannot create TVF file (%s)", text(e.a));
    case ErrorCode::kReadFailed:
      return Format("cannot read file '%s': %s", file, text(e.a));
    case ErrorCode::kWriteFailed:
      return Format("cannot write file '%s': %s", file, text(e.a));
    case ErrorCode::kTooShort:
      return Format("file '%s' is too short to be a TVF file (%lld bytes)", file, N(e.a));
    case ErrorCode::kNotTvf:
      return Format("file '%s' is not a TVF file (unknown magic number)", file);
    case ErrorCode::kHeaderDamaged:
      return Format("the header of file '%s' is damaged (checksum mismatch)", file);
    case ErrorCode::kVersionTooNew:
      return Format("file '%s' has TVF format version %lld; this library reads version 1", file, N(e.a));
    case ErrorCode::kIncomplete:
      return Format("file '%s' is incomplete: its writer did not close it", file);
    case ErrorCode::kTruncated:
      return Format("file '%s' is truncated: it has %lld of its %lld bytes", file, N(e.a), N(e.b));
    case ErrorCode::kTooLong:
      return Format("file '%s' has %lld bytes where its header says %lld", file, N(e.a), N(e.b));
    case ErrorCode::kDirectoryDamaged:
      return Format("the directory of file '%s' is damaged (checksum mismatch)", file);
    case ErrorCode::kDirectoryMalformed:
      return Format("the directory of file '%s' is malformed: %s", file, text(e.a));
    case ErrorCode::kBadSymbolNumber:
      return Format("symbol number %lld is out of range (the file has %lld symbols)", N(e.a), N(e.b));
    case ErrorCode::kBlockDamaged:
      return Format("checksum mismatch in the records of symbol '%s'", sym.c_str());
    case ErrorCode::kBlockMalformed:
      return Format("the records of symbol '%s' are malformed: %s", sym.c_str(), text(e.a));
    case ErrorCode::kLabelOutOfRange:
      return Format("label number %lld out of range in the records of symbol '%s' (the file has %lld labels)", N(e.a),
                    sym.c_str(), N(e.b));
    case ErrorCode::kLabelTooLong:
      return Format("label '%.80s...' is longer than 63 characters", text(e.a));
    case ErrorCode::kDuplicateLabel:
      return Format("label '%s' is registered twice (first as number %lld)", text(e.a), N(e.b));
    case ErrorCode::kTooManyLabels:
      return Format("too many labels for one file");
    case ErrorCode::kTooManyTexts:
      return Format("too many element texts for one file");
    case ErrorCode::kTextTooLong:
      return Format("element text of %lld characters is longer than 255 characters", N(e.a));
    case ErrorCode::kBadSymbolName:
      return Format(
          "'%.80s' is not a valid symbol name (1 to 63 letters, digits and underscores, starting "
          "with a letter)",
          text(e.a));
    case ErrorCode::kDuplicateSymbol:
      return Format("symbol '%s' is already in the file", text(e.a));
    case ErrorCode::kBadDimension:
      return Format("symbol '%s': dimension %lld is outside 0 to 20", text(e.a), N(e.b));
    case ErrorCode::kBadType:
      return Format("symbol '%s': type %lld is not a set (0), parameter (1), variable (2) or equation (3)", text(e.a),
                    N(e.b));
    case ErrorCode::kSymbolTextTooLong:
      return Format("symbol '%s': explanatory text is longer than 255 characters", text(e.a));
    case ErrorCode::kUnknownAliasTarget:
      return Format("alias '%s': there is no set '%s' in the file", text(e.a), text(e.b));
    case ErrorCode::kAliasTargetNotSet:
      return Format("alias '%s': symbol '%s' is not a set", text(e.a), text(e.b));
    case ErrorCode::kDomainUnknown:
      return Format("domain '%s' at position %d of symbol '%s' is not a set written to the file before it", text(e.a),
                    position, sym.c_str());
    case ErrorCode::kDomainNotOneDim:
      return Format("domain '%s' at position %d of symbol '%s' is not a one-dimensional set", text(e.a), position,
                    sym.c_str());
    case ErrorCode::kDomainTooLate:
      return Format("the domain of symbol '%s' is set after its first record", sym.c_str());
    case ErrorCode::kDomainNameTooLong:
      return Format("domain name at position %d of symbol '%s' is longer than 255 characters", position, sym.c_str());
    case ErrorCode::kAliasHasNoDomain:
      return Format("symbol '%s' is an alias and has no domain of its own", sym.c_str());
    case ErrorCode::kDuplicateKey: {
      int dim = e.symbol >= 0 && static_cast<size_t>(e.symbol) < catalog.symbols.size()
                    ? catalog.symbols[static_cast<size_t>(e.symbol)].dim
                    : 0;
      if (dim == 0) return Format("more than one record of scalar symbol '%s'", sym.c_str());
      return Format("duplicate key %s in the records of symbol '%s'", KeyText(catalog, log.Key(e.a), dim).c_str(),
                    sym.c_str());
    }
    case ErrorCode::kDomainViolation:
      return Format("label %s at position %d of a record of symbol '%s' is not in its domain set '%s'",
                    LabelText(catalog, e.a).c_str(), position, sym.c_str(), DomainName(catalog, e).c_str());
    case ErrorCode::kTooManyRecords:
      return Format("symbol '%s' has more records than a file can hold (2147483647)", sym.c_str());
    case ErrorCode::kLeftAsItWas:
      return Format("file '%s' is left as it was: %lld error(s) were logged while writing it", file, N(e.a));
  }
  return Format("error code %d", static_cast<int>(e.code));
}

std::string NoErrorMessage() { return "no error"; }

std::string LostErrorMessage() { return "an error could not be recorded for lack of memory"; }

std::string UnknownErrorMessage(int number) { return Format("unknown error number %d", number); }

std::string CheckNotFoundMessage(const char *name) { return Format("tvfdclib: %s cannot be found in library.", name); }

std::string CheckWrongCountMessage(const char *name) {
  return Format("tvfdclib: %s has wrong number of arguments.", name);
}

std::string CheckWrongTypesMessage(const char *name) { return Format("tvfdclib: %s has wrong argument types.", name); }

std::string ApiVersionTooOldMessage(int api, int library_api) {
  return Format("tvfdclib: client API version %d is older than the library's API version %d, which it needs", api,
                library_api);
}

}  // namespace tvf
