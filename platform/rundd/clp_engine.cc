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

void Statuses(const ClpSimplex &clp, Solution *s) {
  s->solve_status = RUNDD_SOLVE_NORMAL;
  switch (clp.status()) {
    case 0:
      s->model_status = RUNDD_MODEL_OPTIMAL;
      break;
    case 1:
      s->model_status = RUNDD_MODEL_INFEASIBLE;
      break;
    case 2:
      s->model_status = RUNDD_MODEL_UNBOUNDED;
      break;
    case 3:  // stopped on iterations or time
      s->solve_status = clp.isIterationLimitReached() ? RUNDD_SOLVE_ITERATION_LIMIT : RUNDD_SOLVE_RESOURCE_LIMIT;
      s->model_status =
          clp.primalFeasible() ? RUNDD_MODEL_INTERMEDIATE_NONOPTIMAL : RUNDD_MODEL_INTERMEDIATE_INFEASIBLE;
      break;
    case 5:  // stopped by an event
      s->solve_status = RUNDD_SOLVE_USER_INTERRUPT;
      s->model_status = RUNDD_MODEL_NO_SOLUTION;
      break;
    default:
      s->solve_status = RUNDD_SOLVE_SOLVER_FAILURE;
      s->model_status = RUNDD_MODEL_NO_SOLUTION;
  }
}

// CLP reports duals and reduced costs in the sense of the model's own objective (also when it maximises), as
// the instance keeps them.
void ReadSolution(ClpSimplex &clp, Solution *s) {
  const double *column_level = clp.primalColumnSolution(), *reduced_cost = clp.dualColumnSolution();
  const double *row_level = clp.primalRowSolution(), *dual = clp.dualRowSolution();
  for (size_t j = 0; j < s->column_level.size(); ++j) {
    s->column_level[j] = column_level[j];
    s->column_marginal[j] = reduced_cost[j];
    s->column_basis[j] = BasisStatus(clp.getColumnStatus(static_cast<int>(j)));
  }
  for (size_t i = 0; i < s->row_level.size(); ++i) {
    s->row_level[i] = row_level[i];
    s->row_marginal[i] = dual[i];
    s->row_basis[i] = BasisStatus(clp.getRowStatus(static_cast<int>(i)));
  }
  s->has_values = true;
}

int IntegerColumns(const Model &model) {
  int count = 0;
  for (const Column &c : model.content.columns) count += c.integer ? 1 : 0;
  return count;
}

}  // namespace

ClpEngine::ClpEngine() : handler_(std::make_unique<ClpLogHandler>()) {}

ClpEngine::~ClpEngine() = default;

ClpEngine::Pushed ClpEngine::InForce() const {
  const Model &model = *model_;
  Pushed p;
  for (int j = 0; j < model.ColumnCount(); ++j) {
    p.column_lower.push_back(model.LowerInForce(j));
    p.column_upper.push_back(model.UpperInForce(j));
    p.level.push_back(model.content.columns[j].level);
  }
  for (int i = 0; i < model.RowCount(); ++i) {
    double lower, upper;
    model.RowBoundsInForce(i, &lower, &upper);
    p.row_lower.push_back(lower);
    p.row_upper.push_back(upper);
  }
  return p;
}

bool ClpEngine::DoReady(std::string *error) {
  const Model &model = *model_;
  if (const int integers = IntegerColumns(model); integers > 0) {
    WriteStatuses(*model_, RUNDD_MODEL_NO_SOLUTION, RUNDD_SOLVE_CAPABILITY);
    *error = msg::ClpAndIntegers(integers);
    return false;
  }
  pushed_ = InForce();
  auto clp = std::make_unique<ClpSimplex>();
  clp->passInMessageHandler(handler_.get());
  handler_->setLogLevel(1);
  auto clp_bounds = [](std::vector<double> v) {
    for (double &b : v) b = ClpBound(b);
    return v;
  };
  const ModelContent &c = model.content;
  const std::vector<CoinBigIndex> start(c.column_start.begin(), c.column_start.end());
  clp->loadProblem(model.ColumnCount(), model.RowCount(), start.data(), c.row_index.data(), c.coefficient.data(),
                   clp_bounds(pushed_.column_lower).data(), clp_bounds(pushed_.column_upper).data(), c.cost.data(),
                   clp_bounds(pushed_.row_lower).data(), clp_bounds(pushed_.row_upper).data());
  clp->setOptimizationDirection(c.direction);
  clp_ = std::move(clp);
  solved_ = false;
  return true;
}

bool ClpEngine::DoModify(std::string *) {
  Pushed now = InForce();
  for (size_t j = 0; j < now.level.size(); ++j) {
    const int col = static_cast<int>(j);
    if (now.column_lower[j] != pushed_.column_lower[j]) clp_->setColumnLower(col, ClpBound(now.column_lower[j]));
    if (now.column_upper[j] != pushed_.column_upper[j]) clp_->setColumnUpper(col, ClpBound(now.column_upper[j]));
    // A level set since the last run is a warm-start hint; the basis decides where nonbasic columns sit.
    if (now.level[j] != pushed_.level[j]) clp_->primalColumnSolution()[j] = now.level[j];
  }
  for (size_t i = 0; i < now.row_lower.size(); ++i) {
    const int row = static_cast<int>(i);
    if (now.row_lower[i] != pushed_.row_lower[i]) clp_->setRowLower(row, ClpBound(now.row_lower[i]));
    if (now.row_upper[i] != pushed_.row_upper[i]) clp_->setRowUpper(row, ClpBound(now.row_upper[i]));
  }
  pushed_ = std::move(now);
  return true;
}

bool ClpEngine::DoRun(const SolveLimits &limits, std::string *error) {
  Model &model = *model_;
  handler_->environment = model.environment.get();
  clp_->setMaximumIterations(limits.iterations);
  clp_->setMaximumSeconds(std::isfinite(limits.seconds) ? limits.seconds : -1);
  try {
    if (solved_) {
      clp_->dual(0);
      if (clp_->status() != 0 && clp_->status() != 1 && clp_->status() != 3) clp_->primal(1);
    } else {
      clp_->initialSolve();
    }
  } catch (const CoinError &e) {
    WriteStatuses(model, RUNDD_MODEL_NO_SOLUTION, RUNDD_SOLVE_SOLVER_FAILURE);
    *error = msg::SolverException("CLP", e.message());
    return false;
  }
  solved_ = true;
  Solution solution;
  solution.Resize(model.ColumnCount(), model.RowCount());
  Statuses(*clp_, &solution);
  if (solution.solve_status == RUNDD_SOLVE_SOLVER_FAILURE) {
    WriteStatuses(model, solution.model_status, solution.solve_status);
    *error = msg::SolverFailed("CLP", clp_->status());
    return false;
  }
  ReadSolution(*clp_, &solution);
  WriteSolution(model, solution);
  pushed_.level = solution.column_level;  // levels that the run itself wrote are no change to push
  return true;
}

}  // namespace rundd
