#include "clp_engine.h"

#include <ClpSimplex.hpp>
#include <CoinError.hpp>
#include <CoinMessageHandler.hpp>
#include <cmath>

#include "environment.h"
#include "messages.h"
#include "rundd.h"
#include "solution.h"

namespace rundd {

// Sends CLP's messages to the environment's log instead of standard output.
class ClpLogHandler : public CoinMessageHandler {
 public:
  int print() override {
    if (environment != nullptr) {
      environment->AppendLog(messageBuffer());
      environment->AppendLog("\n");
    }
    return 0;
  }
  Environment *environment = nullptr;
};

namespace {

double ClpBound(double bound) {
  if (bound == kInfinity) return COIN_DBL_MAX;
  if (bound == -kInfinity) return -COIN_DBL_MAX;
  return bound;
}

int BasisStatus(ClpSimplex::Status status) {
  switch (status) {
    case ClpSimplex::basic:
      return RUNDD_BASIS_BASIC;
    case ClpSimplex::atUpperBound:
      return RUNDD_BASIS_AT_UPPER;
    case ClpSimplex::isFree:
    case ClpSimplex::superBasic:
      return RUNDD_BASIS_SUPERBASIC;
    default:
      return RUNDD_BASIS_AT_LOWER;  // atLowerBound, isFixed
  }
}

// The model and solve status of the last run.
void Statuses(const ClpSimplex &clp, int *model_status, int *solve_status) {
  *solve_status = RUNDD_SOLVE_NORMAL;
  switch (clp.status()) {
    case 0:
      *model_status = RUNDD_MODEL_OPTIMAL;
      break;
    case 1:
      *model_status = RUNDD_MODEL_INFEASIBLE;
      break;
    case 2:
      *model_status = RUNDD_MODEL_UNBOUNDED;
      break;
    case 3:  // stopped on iterations or time
      *solve_status = clp.isIterationLimitReached() ? RUNDD_SOLVE_ITERATION_LIMIT : RUNDD_SOLVE_RESOURCE_LIMIT;
      *model_status = clp.primalFeasible() ? RUNDD_MODEL_INTERMEDIATE_NONOPTIMAL : RUNDD_MODEL_INTERMEDIATE_INFEASIBLE;
      break;
    case 5:  // stopped by an event
      *solve_status = RUNDD_SOLVE_USER_INTERRUPT;
      *model_status = RUNDD_MODEL_NO_SOLUTION;
      break;
    default:
      *solve_status = RUNDD_SOLVE_SOLVER_FAILURE;
      *model_status = RUNDD_MODEL_NO_SOLUTION;
  }
}

int IntegerColumns(const Model &model) {
  int count = 0;
  for (const Column &c : model.content.columns) count += c.integer ? 1 : 0;
  return count;
}

}  // namespace

ClpEngine::ClpEngine() : handler_(std::make_unique<ClpLogHandler>()) {}

ClpEngine::~ClpEngine() = default;

void ClpEngine::PushColumn(int j) {
  const Model &model = *model_;
  const double lower = ClpBound(model.LowerInForce(j)), upper = ClpBound(model.UpperInForce(j));
  if (clp_->columnLower()[j] != lower) clp_->setColumnLower(j, lower);
  if (clp_->columnUpper()[j] != upper) clp_->setColumnUpper(j, upper);
  // A level set since the last run is a warm-start hint; the basis decides where nonbasic columns sit.
  const double level = model.content.columns[j].level;
  if (clp_->primalColumnSolution()[j] != level) clp_->primalColumnSolution()[j] = level;
}

void ClpEngine::PushRow(int i) {
  if (clp_row_[i] < 0) return;  // a free row stays free
  double lower, upper;
  model_->RowBoundsInForce(i, &lower, &upper);
  lower = ClpBound(lower);
  upper = ClpBound(upper);
  i = clp_row_[i];
  if (clp_->rowLower()[i] != lower) clp_->setRowLower(i, lower);
  if (clp_->rowUpper()[i] != upper) clp_->setRowUpper(i, upper);
}

// Levels and marginals are read from CLP's own arrays where its rows are the model's. CLP reports duals and
// reduced costs in the sense of the model's own objective (also when it maximises), as the instance keeps them.
// A free row is basic with marginal 0; its level is its activity (the objective's row is written by WritePoint).
Point ClpEngine::ReadPoint() {
  const int n = clp_->numberColumns(), m = static_cast<int>(clp_row_.size());
  column_basis_.resize(n);
  row_basis_.resize(m);
  for (int j = 0; j < n; ++j) column_basis_[j] = BasisStatus(clp_->getColumnStatus(j));
  if (clp_->numberRows() == m) {  // no free rows
    for (int i = 0; i < m; ++i) row_basis_[i] = BasisStatus(clp_->getRowStatus(i));
    return {clp_->primalColumnSolution(), clp_->dualColumnSolution(), clp_->primalRowSolution(),
            clp_->dualRowSolution(),      column_basis_.data(),       row_basis_.data()};
  }
  row_level_.resize(m);
  row_marginal_.resize(m);
  for (int i = 0; i < m; ++i) {
    const int k = clp_row_[i];
    row_level_[i] = k >= 0 ? clp_->primalRowSolution()[k] : 0;
    row_marginal_[i] = k >= 0 ? clp_->dualRowSolution()[k] : 0;
    row_basis_[i] = k >= 0 ? BasisStatus(clp_->getRowStatus(k)) : RUNDD_BASIS_BASIC;
  }
  const double *level = clp_->primalColumnSolution();
  for (const FreeTerm &t : free_terms_) row_level_[t.row] += t.coefficient * level[t.column];
  return {level,          clp_->dualColumnSolution(), row_level_.data(), row_marginal_.data(),
          column_basis_.data(), row_basis_.data()};
}

bool ClpEngine::DoReady(std::string *error) {
  const Model &model = *model_;
  if (const int integers = IntegerColumns(model); integers > 0) {
    WriteStatuses(*model_, RUNDD_MODEL_NO_SOLUTION, RUNDD_SOLVE_CAPABILITY);
    *error = msg::ClpAndIntegers(integers);
    return false;
  }
  // The bounds in force, in CLP's terms, and the matrix without the free rows.
  const int n = model.ColumnCount(), m = model.RowCount();
  const ModelContent &c = model.content;
  clp_row_.assign(m, -1);
  std::vector<double> row_lower, row_upper;
  for (int i = 0; i < m; ++i) {
    if (c.rows[i].Type() == RUNDD_EQU_FREE) continue;
    double lower, upper;
    model.RowBoundsInForce(i, &lower, &upper);
    clp_row_[i] = static_cast<int>(row_lower.size());
    row_lower.push_back(ClpBound(lower));
    row_upper.push_back(ClpBound(upper));
  }
  std::vector<double> column_lower(n), column_upper(n), coefficient;
  std::vector<int> row_index;
  std::vector<CoinBigIndex> start(1, 0);
  free_terms_.clear();
  for (int j = 0; j < n; ++j) {
    column_lower[j] = ClpBound(model.LowerInForce(j));
    column_upper[j] = ClpBound(model.UpperInForce(j));
    for (int k = c.column_start[j]; k < c.column_start[j + 1]; ++k) {
      const int i = c.row_index[k];
      if (clp_row_[i] < 0) {
        if (i != c.objective_row) free_terms_.push_back({i, j, c.coefficient[k]});
      } else {
        row_index.push_back(clp_row_[i]);
        coefficient.push_back(c.coefficient[k]);
      }
    }
    start.push_back(static_cast<CoinBigIndex>(row_index.size()));
  }
  auto clp = std::make_unique<ClpSimplex>();
  clp->passInMessageHandler(handler_.get());
  handler_->setLogLevel(1);
  clp->loadProblem(n, static_cast<int>(row_lower.size()), start.data(), row_index.data(), coefficient.data(),
                   column_lower.data(), column_upper.data(), c.cost.data(), row_lower.data(), row_upper.data());
  clp->setOptimizationDirection(c.direction);
  clp_ = std::move(clp);
  model_->changes.Clear();  // the instance now holds everything
  change_epoch_ = model_->changes.epoch;
  return true;
}

bool ClpEngine::DoModify(std::string *) {
  rundd::ChangeLog &changes = model_->changes;
  if (changes.everything || changes.epoch != change_epoch_) {
    for (int j = 0; j < model_->ColumnCount(); ++j) PushColumn(j);
    for (int i = 0; i < model_->RowCount(); ++i) PushRow(i);
  } else {
    for (int j : changes.columns) PushColumn(j);
    for (int i : changes.rows) PushRow(i);
  }
  changes.Clear();
  change_epoch_ = changes.epoch;
  return true;
}

bool ClpEngine::DoRun(const SolveLimits &limits, std::string *error) {
  Model &model = *model_;
  handler_->environment = model.environment.get();
  clp_->setMaximumIterations(limits.iterations);
  clp_->setMaximumSeconds(std::isfinite(limits.seconds) ? limits.seconds : -1);
  try {
    // The dual simplex method, from the last basis after the first run; the primal method settles what it leaves
    // open (an unbounded model). CLP's presolve (initialSolve) is avoided: it is not safe when an allocation
    // fails inside it.
    clp_->dual(0);
    if (clp_->status() != 0 && clp_->status() != 1 && clp_->status() != 3) clp_->primal(1);
  } catch (const CoinError &e) {
    WriteStatuses(model, RUNDD_MODEL_NO_SOLUTION, RUNDD_SOLVE_SOLVER_FAILURE);
    *error = msg::SolverException("CLP", e.message());
    return false;
  }
  int model_status, solve_status;
  Statuses(*clp_, &model_status, &solve_status);
  WriteStatuses(model, model_status, solve_status);
  if (solve_status == RUNDD_SOLVE_SOLVER_FAILURE) {
    *error = msg::SolverFailed("CLP", clp_->status());
    return false;
  }
  WritePoint(model, ReadPoint());
  return true;
}

}  // namespace rundd
