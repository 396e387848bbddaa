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

// The basis statuses of the last run; levels and marginals are read from CLP's own arrays. CLP reports duals
// and reduced costs in the sense of the model's own objective (also when it maximises), as the instance keeps
// them.
Point ReadPoint(ClpSimplex &clp, std::vector<int> *column_basis, std::vector<int> *row_basis) {
  column_basis->resize(clp.numberColumns());
  row_basis->resize(clp.numberRows());
  for (int j = 0; j < clp.numberColumns(); ++j) (*column_basis)[j] = BasisStatus(clp.getColumnStatus(j));
  for (int i = 0; i < clp.numberRows(); ++i) (*row_basis)[i] = BasisStatus(clp.getRowStatus(i));
  return {clp.primalColumnSolution(), clp.dualColumnSolution(), clp.primalRowSolution(),
          clp.dualRowSolution(),      column_basis->data(),     row_basis->data()};
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
  double lower, upper;
  model_->RowBoundsInForce(i, &lower, &upper);
  lower = ClpBound(lower);
  upper = ClpBound(upper);
  if (clp_->rowLower()[i] != lower) clp_->setRowLower(i, lower);
  if (clp_->rowUpper()[i] != upper) clp_->setRowUpper(i, upper);
}

bool ClpEngine::DoReady(std::string *error) {
  const Model &model = *model_;
  if (const int integers = IntegerColumns(model); integers > 0) {
    WriteStatuses(*model_, RUNDD_MODEL_NO_SOLUTION, RUNDD_SOLVE_CAPABILITY);
    *error = msg::ClpAndIntegers(integers);
    return false;
  }
  // The bounds in force, in CLP's terms.
  const int n = model.ColumnCount(), m = model.RowCount();
  std::vector<double> column_lower(n), column_upper(n), row_lower(m), row_upper(m);
  for (int j = 0; j < n; ++j) {
    column_lower[j] = ClpBound(model.LowerInForce(j));
    column_upper[j] = ClpBound(model.UpperInForce(j));
  }
  for (int i = 0; i < m; ++i) {
    model.RowBoundsInForce(i, &row_lower[i], &row_upper[i]);
    row_lower[i] = ClpBound(row_lower[i]);
    row_upper[i] = ClpBound(row_upper[i]);
  }
  auto clp = std::make_unique<ClpSimplex>();
  clp->passInMessageHandler(handler_.get());
  handler_->setLogLevel(1);
  const ModelContent &c = model.content;
  const std::vector<CoinBigIndex> start(c.column_start.begin(), c.column_start.end());
  clp->loadProblem(n, m, start.data(), c.row_index.data(), c.coefficient.data(), column_lower.data(),
                   column_upper.data(), c.cost.data(), row_lower.data(), row_upper.data());
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
  WritePoint(model, ReadPoint(*clp_, &column_basis_, &row_basis_));
  return true;
}

}  // namespace rundd
