// The library object behind tvfHandle_t: at most one open file (read or write), the catalog of the last
// file opened, the error log and the special values. One thread at a time per object.
#ifndef TVF_TVF_OBJECT_H
#define TVF_TVF_OBJECT_H

#include <memory>

#include "catalog.h"
#include "compression.h"
#include "error_log.h"
#include "file_reader.h"
#include "file_writer.h"
#include "special_values.h"

struct tvfRec {
  tvf::Catalog catalog;
  tvf::ErrorLog errors;
  tvf::SpecialValues specials;
  tvf::Codec codec = tvf::Codec::kNone;
  std::unique_ptr<tvf::FileWriter> writer;
  std::unique_ptr<tvf::FileReader> reader;

  bool file_open() const { return writer != nullptr || reader != nullptr; }
};

#endif
