// The source of a database prepared for model updates (FROM_TVP): reads a variable or equation symbol's
// records from the model instance of the database's model link, for on-demand loading into the store and for
// streaming into a TVF file being written. The model's label numbers are the database's (tvbInitFromDict).
#pragma once

#include "core/data_source.h"
#include "core/label_table.h"
#include "model/model_link.h"

namespace tvb::model {

class ModelSource final : public RecordSource {
 public:
  // link and labels are the database's; they outlive the source.
  ModelSource(const ModelLink& link, const LabelTable& labels) : link_(link), labels_(labels) {}

  InitFrom kind() const override { return InitFrom::FROM_TVP; }

  // One record per column (variable) or row (equation) of the dictionary symbol of sym's name, in index
  // order: level and marginal of the solution, lower and upper bound (of an equation: from its right-hand side
  // and the type of its first row), scale. Fails for a symbol the dictionary does not have as a variable or
  // equation of sym's type and dimension, and for a label outside the database's.
  Status read(const tvbSymbol& sym, RecordSink& sink) override;

 private:
  const ModelLink& link_;
  const LabelTable& labels_;
};

}  // namespace tvb::model
