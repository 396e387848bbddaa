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
#include <new>
#include <string>
#include <vector>

#include "rundd.h"
#include "tagged_object.h"

namespace rundd {

class Dictionary;
struct Environment;

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Columns and rows hold what solves read and write, one cache line or less each; their names are kept apart.
struct Column {
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
  std::vector<std::string> column_names;  // as the translator wrote them: "x[seattle,new-york]"
  std::vector<std::string> row_names;
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

// What changed in the instance since a held solver last took it in: the columns whose bounds in force or level
// were set and the rows whose right-hand side in force was set, or everything (a switch flipped, or more
// changes than entries). Reading it clears it and moves on the epoch, so that a second solver, whose epoch is
// then behind, knows to compare everything instead.
struct ChangeLog {
  std::vector<int> columns;
  std::vector<int> rows;
  bool everything = true;
  unsigned epoch = 0;

  void Clear() {
    columns.clear();
    rows.clear();
    everything = false;
    ++epoch;
  }
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

  // The bounds that a solve takes: the alternative ones while they are switched on. Inline: solves read them
  // for every column and row.
  double LowerInForce(int j) const {
    const Column &c = content.columns[j];
    return switches.alt_bounds_on ? c.alt_lower : c.lower;
  }
  double UpperInForce(int j) const {
    const Column &c = content.columns[j];
    return switches.alt_bounds_on ? c.alt_upper : c.upper;
  }
  void RowBoundsInForce(int i, double *lower, double *upper) const {
    const Row &r = content.rows[i];
    // An alternative right-hand side moves the row's finite bounds together (a ranged row keeps its width).
    const double shift = switches.alt_rhs_on && r.Type() != RUNDD_EQU_FREE ? r.alt_rhs - r.Rhs() : 0;
    *lower = r.lower + shift;
    *upper = r.upper + shift;
  }

  // Entries changed for held solvers (ChangeLog).
  void ColumnChanged(int j) { Note(&changes.columns, j); }
  void RowChanged(int i) { Note(&changes.rows, i); }
  void AllChanged() { changes.everything = true; }

  // Infinite values in and out at the C boundary.
  double Reported(double bound) const;
  double Taken(double value) const;

  ModelContent content;
  ViewSwitches switches;
  int model_status;
  int solve_status;
  double objective_value = 0;
  int generation = 0;  // counts loads, so that a solver made ready with older content notices
  ChangeLog changes;
  std::unique_ptr<Environment> environment;
  std::unique_ptr<Dictionary> dictionary;  // null until a model is loaded
  std::list<std::unique_ptr<View>> views;  // stored and not yet restored

 private:
  void Note(std::vector<int> *entries, int index) {
    if (changes.everything) return;
    if (changes.columns.size() + changes.rows.size() >= content.columns.size() + content.rows.size()) {
      changes.everything = true;  // as good as a full comparison, and the log stops growing
      return;
    }
    try {
      entries->push_back(index);
    } catch (const std::bad_alloc &) {
      changes.everything = true;  // the change is set already; a full comparison needs no log
    }
  }
};

}  // namespace rundd

#endif
