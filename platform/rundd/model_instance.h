// The model instance: columns with their bounds and integrality, rows with their bounds, the matrix by
// columns, the objective, and what a solve wrote back. The content of a loaded model (ModelContent) is replaced
// whole by a new load, so that a failed load leaves the instance as it was; the switches (alternative bounds and
// right-hand sides, linear treatment, infinity values) belong to the instance and survive a reload.
// Bounds are kept with IEEE infinities; the values of tvpPinfSet / tvpMinfSet matter only at the C boundary.
#ifndef RUNDD_MODEL_INSTANCE_H
#define RUNDD_MODEL_INSTANCE_H

#include <limits>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "tagged_object.h"

namespace rundd {

class Dictionary;
struct Environment;

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Column {
  std::string name;
  double lower = 0;
  double upper = kInfinity;
  double alt_lower = 0;  // the alternative bounds start equal to the own ones
  double alt_upper = kInfinity;
  bool integer = false;
  double level = 0;
  double marginal = 0;
  int basis_status = 0;
  int condition = 0;
};

struct Row {
  std::string name;
  double lower = -kInfinity;  // bounds of the row's activity (constants moved to the right by the translator)
  double upper = kInfinity;
  double alt_rhs = 0;  // starts equal to Rhs()
  double level = 0;
  double marginal = 0;
  int basis_status = 2;
  int condition = 0;

  // Equation type code (RUNDD_EQU_*): a ranged row counts as >= with its lower bound as right-hand side.
  int Type() const;
  // The bound that the type code names; 0 for a free row.
  double Rhs() const;
};

// What a load produces and a reload replaces.
struct ModelContent {
  std::vector<Column> columns;
  std::vector<Row> rows;
  // The matrix by columns: the entries of column j are [column_start[j], column_start[j + 1]).
  std::vector<int> column_start{0};
  std::vector<int> row_index;
  std::vector<double> coefficient;
  std::vector<double> cost;  // objective coefficient per column
  int objective_row = -1;    // the first objective's row; -1 for a model without objective
  int direction = 1;         // 1 minimise, -1 maximise
  double objective_constant = 0;
  int model_type = 0;  // RUNDD_MODEL_TYPE_*, 0 before a load
};

// The switches that a view saves and restores.
struct ViewSwitches {
  bool alt_bounds_on = false;
  bool alt_rhs_on = false;
  bool force_linear = false;
  double plus_infinity = kInfinity;
  double minus_infinity = -kInfinity;
};

struct View : TaggedObject {
  static constexpr ObjectKind kKind = ObjectKind::kView;
  explicit View(const ViewSwitches &s) : TaggedObject(kKind), switches(s) {}
  ViewSwitches switches;
};

struct Model : TaggedObject {
  static constexpr ObjectKind kKind = ObjectKind::kModel;
  explicit Model(const std::string &system_dir);
  ~Model();

  // Makes content (and its dictionary) the instance's; statuses start afresh.
  void Replace(ModelContent content, std::unique_ptr<Dictionary> dict);

  int ColumnCount() const { return static_cast<int>(content.columns.size()); }
  int RowCount() const { return static_cast<int>(content.rows.size()); }
  bool IsColumn(int j) const { return j >= 0 && j < ColumnCount(); }
  bool IsRow(int i) const { return i >= 0 && i < RowCount(); }

  // The bounds that a solve takes: the alternative ones while they are switched on.
  double LowerInForce(int j) const;
  double UpperInForce(int j) const;
  void RowBoundsInForce(int i, double *lower, double *upper) const;

  // Infinite values in and out at the C boundary.
  double Reported(double bound) const;
  double Taken(double value) const;

  ModelContent content;
  ViewSwitches switches;
  int model_status;
  int solve_status;
  double objective_value = 0;
  int generation = 0;  // counts loads, so that a solver made ready with older content notices
  std::unique_ptr<Environment> environment;
  std::unique_ptr<Dictionary> dictionary;  // null until a model is loaded
  std::list<std::unique_ptr<View>> views;  // stored and not yet restored
};

}  // namespace rundd

#endif
