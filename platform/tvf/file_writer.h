// Writing a TVF file. Labels, texts and symbols are collected in the catalog; each symbol's records are
// kept until tvfDataWriteDone, then sorted (when they came out of order), checked for duplicate keys, coded
// in chunks and appended to the file. Closing appends the directory and writes the header last, so a file
// left unfinished is recognised as such by the reader. Errors go to the object's error log; every call
// returns false when it logged one.
#ifndef TVF_FILE_WRITER_H
#define TVF_FILE_WRITER_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalog.h"
#include "compression.h"
#include "domain_check.h"
#include "error_log.h"
#include "label_index.h"
#include "special_values.h"

namespace tvf {

class FileWriter {
 public:
  FileWriter(Catalog *catalog, ErrorLog *errors, const SpecialValues *specials, Codec codec)
      : catalog_(catalog), errors_(errors), specials_(specials), codec_(codec) {}
  ~FileWriter();  // an unfinished file is left incomplete
  FileWriter(const FileWriter &) = delete;
  FileWriter &operator=(const FileWriter &) = delete;

  // Creates the file; returns 0, or the number of the logged error.
  int Open(const char *path, std::string_view producer);

  bool StartLabels();
  bool AddLabel(std::string_view label);
  bool EndLabels();
  bool AddText(std::string_view text, int *number);
  bool AddAlias(std::string_view alias, std::string_view set);

  bool StartSymbol(std::string_view name, std::string_view text, int dim, int type, int user_info);
  // The current symbol's domain, checked: each name is "*" or a one-dimensional set (or alias) already in
  // the file. Refused (false, nothing stored) otherwise, or once records were written.
  bool SetCheckedDomain(const char *const *names);
  // Symbol `number`'s (1-based) domain names, stored as given.
  bool SetRelaxedDomain(int number, const char *const *names);
  bool AddRecord(const int32_t *key, const double *values);
  bool FinishSymbol();

  // Finishes the file (a symbol still open is finished first). False when the file could not be completed.
  bool Close();

  bool symbol_open() const { return symbol_ >= 0; }
  bool registering_labels() const { return registering_; }

 private:
  bool CheckNewName(std::string_view name);
  bool Busy(const char *operation);
  int CompareWithLast(const int32_t *key) const;
  void WriteRecords(const std::vector<uint32_t> *order);
  void EmitChunk(const char *data, size_t size, uint32_t records);
  void Append(const char *data, size_t size);
  bool Flush();

  Catalog *catalog_;
  ErrorLog *errors_;
  const SpecialValues *specials_;
  Codec codec_;

  int fd_ = -1;
  bool io_failed_ = false;
  uint64_t offset_ = 0;  // file offset after the bytes written and buffered
  std::string out_;      // bytes not yet written
  bool registering_ = false;
  LabelIndex label_index_;
  DomainCheck domains_;

  // The symbol being written.
  int symbol_ = -1;
  int dim_ = 0;
  int value_count_ = 1;
  int64_t count_ = 0;
  bool sorted_ = true;
  std::vector<int32_t> keys_;
  std::vector<double> values_;

  std::unique_ptr<char[]> chunk_;
  std::string compressed_;
};

}  // namespace tvf

#endif
