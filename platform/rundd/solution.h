// What a solver hands back, in the instance's terms, and the one routine that writes it into the instance, so
// that both solvers leave levels, marginals, status codes and the objective the same way.
#ifndef RUNDD_SOLUTION_H
#define RUNDD_SOLUTION_H

#include <vector>

#include "model_instance.h"

namespace rundd {

// One point of a solve, as arrays of the model's column and row counts owned by whoever hands it over.
struct Point {
  const double *column_level, *column_marginal, *row_level, *row_marginal;
  const int *column_basis, *row_basis;
};

struct Solution {
  int model_status = 0;
  int solve_status = 0;
  bool has_values = false;  // the vectors below hold a point to write back
  std::vector<double> column_level, column_marginal, row_level, row_marginal;
  std::vector<int> column_basis, row_basis;

  // Sizes the vectors for a model; what they hold is to be overwritten (kept when the size is the same).
  void Resize(int columns, int rows);
  Point View() const;
};

// Statuses always; with values also the point (WritePoint).
void WriteSolution(Model &model, const Solution &solution);

// Levels, marginals (the objective's sense: see rundd.h), basis statuses, conditions against the bounds in
// force, the objective value and the objective row's level (constant included), in one pass over the entries.
void WritePoint(Model &model, const Point &point);

// The statuses alone, for a solve that produced no point.
void WriteStatuses(Model &model, int model_status, int solve_status);

}  // namespace rundd

#endif
