#include "solution.h"

#include <algorithm>
#include <cmath>

#include "rundd.h"

namespace rundd {

namespace {

int Condition(double level, double lower, double upper) {
  const double below = lower - level, above = level - upper;
  const bool outside = below > 1e-6 * std::max(1.0, std::fabs(lower)) || above > 1e-6 * std::max(1.0, std::fabs(upper));
  return outside ? RUNDD_CONDITION_INFEASIBLE : RUNDD_CONDITION_OK;
}

}  // namespace

void Solution::Resize(int columns, int rows) {
  column_level.resize(columns);
  column_marginal.resize(columns);
  column_basis.resize(columns);
  row_level.resize(rows);
  row_marginal.resize(rows);
  row_basis.resize(rows);
}

void WriteStatuses(Model &model, int model_status, int solve_status) {
  model.model_status = model_status;
  model.solve_status = solve_status;
}

Point Solution::View() const {
  return {column_level.data(), column_marginal.data(), row_level.data(),
          row_marginal.data(), column_basis.data(),    row_basis.data()};
}

void WriteSolution(Model &model, const Solution &s) {
  WriteStatuses(model, s.model_status, s.solve_status);
  if (s.has_values) WritePoint(model, s.View());
}

void WritePoint(Model &model, const Point &p) {
  ModelContent &c = model.content;
  double objective = c.objective_constant;
  for (int j = 0; j < model.ColumnCount(); ++j) {
    Column &col = c.columns[j];
    col.level = p.column_level[j];
    col.marginal = p.column_marginal[j];
    col.basis_status = p.column_basis[j];
    col.condition = Condition(col.level, model.LowerInForce(j), model.UpperInForce(j));
    objective += c.cost[j] * col.level;
  }
  for (int i = 0; i < model.RowCount(); ++i) {
    Row &row = c.rows[i];
    double lower, upper;
    model.RowBoundsInForce(i, &lower, &upper);
    row.level = p.row_level[i];
    row.marginal = p.row_marginal[i];
    row.basis_status = p.row_basis[i];
    row.condition = Condition(row.level, lower, upper);
  }
  if (c.objective_row >= 0) c.rows[c.objective_row].level = objective;
  model.objective_value = objective;
}

}  // namespace rundd
