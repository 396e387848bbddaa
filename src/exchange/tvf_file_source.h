// The source of a database filled from a TVF file: the file that the database's TVF object holds open. It
// reads one symbol's records at a time into a sink, and closes the file when it goes (tvbCloseTVF, or the
// database being freed).
#pragma once

#include <utility>
#include <vector>

#include "core/data_source.h"
#include "loaders/tvfcc.h"

namespace tvb::exchange {

class TvfFileSource final : public RecordSource {
 public:
  // REQUIRES: file is the database's TVF object, which outlives this source.
  explicit TvfFileSource(tvfHandle_t file) : file_(file) {}
  ~TvfFileSource() override;
  TvfFileSource(const TvfFileSource&) = delete;
  TvfFileSource& operator=(const TvfFileSource&) = delete;

  InitFrom kind() const override { return InitFrom::FROM_TVF; }

  // The database's number of each file label (index: the file's number), when the two numberings differ: the
  // database held labels before the file was read. Empty: the numbers are the same.
  void translateLabels(std::vector<int> databaseNumbers) { databaseNumbers_ = std::move(databaseNumbers); }

  // A symbol that the file does not hold has no records. A damaged record block in the file fails the read with
  // the library's text; the records read before the damage stay.
  Status read(const tvbSymbol& sym, RecordSink& sink) override;

 private:
  tvfHandle_t file_;
  std::vector<int> databaseNumbers_;
};

}  // namespace tvb::exchange
