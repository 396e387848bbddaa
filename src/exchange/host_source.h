// The source of a database handed to a host program (tvbInitFromCMEX): reads one symbol's records through the
// host's routines, maps the host's special values (1e300 .. 5e300) to the internal ones and, for a sink that
// wants them, turns the host's element-text numbers of set records into the database's. Every host routine
// reports success with 0.
#pragma once

#include "core/data_source.h"
#include "core/element_texts.h"
#include "core/label_table.h"
#include "tvbcclib.h"

namespace tvb::exchange {

// The routines of a host program and the value handed back to each of them.
struct HostProgram {
  tvbHostFindSymbol findSymbol = nullptr;
  tvbHostDataReadRawStart dataReadRawStart = nullptr;
  tvbHostDataReadRaw dataReadRaw = nullptr;
  tvbHostDataReadDone dataReadDone = nullptr;
  tvbHostElemText elemText = nullptr;
  void* hostHandle = nullptr;
};

class HostSource final : public RecordSource {
 public:
  // labels and texts are the database's; they outlive the source.
  HostSource(const HostProgram& host, const LabelTable& labels, ElementTexts& texts)
      : host_(host), labels_(labels), texts_(texts) {}

  InitFrom kind() const override { return InitFrom::FROM_CMEX; }
  Status read(const tvbSymbol& sym, RecordSink& sink) override;

 private:
  // The number of the host's element text textNr among the database's texts, interning it; -1 when the host
  // fails.
  int elementText(int textNr);

  HostProgram host_;
  const LabelTable& labels_;
  ElementTexts& texts_;
};

}  // namespace tvb::exchange
