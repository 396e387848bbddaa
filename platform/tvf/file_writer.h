// Writing a TVF file. Labels, texts and symbols are collected in the catalog. A symbol's records are coded
// and appended to the file as they come while they come in ascending key order (the common case: memory
// stays at one chunk). The first record out of order turns the symbol to collecting: what was written of it
// is read back, and at tvfDataWriteDone all its records are sorted, checked for duplicate keys and written
// again in place. Closing appends the directory and writes the header last, so a file left unfinished is
// recognised as such by the reader, and only then puts the new file in place of the one of its name (see
// output_file.h). A file during whose writing an error was logged is not put in place: the one of its name
// stays as it was. Errors go to the object's error log; every call returns false when it logged one.
#ifndef TVF_FILE_WRITER_H
#define TVF_FILE_WRITER_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "block_writer.h"
#include "catalog.h"
#include "compression.h"
#include "domain_check.h"
#include "error_log.h"
#include "label_index.h"
#include "output_file.h"
#include "special_values.h"

namespace tvf {

class FileWriter {
 public:
  FileWriter(Catalog *catalog, ErrorLog *errors, const SpecialValues *specials, Codec codec)
      : catalog_(catalog), errors_(errors), specials_(specials), block_(&out_, specials, codec) {}
  ~FileWriter() = default;  // an unfinished file is thrown away; the one of its name stays as it was
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

  // Finishes the file (a symbol still open is finished first) and puts it in place. False, with the file of
  // that name left as it was, when an error was logged while writing or the file could not be completed.
  bool Close();
  // `errors` logged errors were the refusal of a checked domain, which the caller answers by storing the
  // names unchecked: they do not keep the file from being put in place.
  void ExcuseErrors(int errors) { excused_errors_ += errors; }

  bool symbol_open() const { return symbol_ >= 0; }
  bool registering_labels() const { return registering_; }

 private:
  // Runs a step that may run out of memory half way; then the symbol is broken and the exception goes on.
  template <typename Step>
  auto Guard(Step step) {
    try {
      return step();
    } catch (...) {
      broken_ = true;
      throw;
    }
  }
  bool CheckNewName(std::string_view name);
  bool Busy(const char *operation);
  bool IoFailed();
  // Turns the current symbol from streaming to collecting: reads back what was written of it.
  bool StartCollecting();
  void WriteCollected();

  Catalog *catalog_;
  ErrorLog *errors_;
  const SpecialValues *specials_;

  OutputFile out_;
  bool io_error_logged_ = false;
  int excused_errors_ = 0;
  bool registering_ = false;
  LabelIndex label_index_;
  DomainCheck domains_;
  BlockWriter block_;

  // The symbol being written.
  int symbol_ = -1;
  int dim_ = 0;
  int value_count_ = 1;
  int64_t count_ = 0;
  bool streaming_ = true;       // records so far in ascending order, coded as they came
  bool broken_ = false;         // memory ran out half way through its records: it takes no more
  bool keeps_members_ = false;  // a one-dimensional set: its labels serve later domain checks
  int32_t last_key_[20] = {};
  std::vector<int32_t> set_members_;  // labels of a one-dimensional set, while streaming
  std::vector<int32_t> keys_;         // records collected once out of order
  std::vector<double> values_;
};

}  // namespace tvf

#endif
