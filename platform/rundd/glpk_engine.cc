#include "glpk_engine.h"

#include <glpk.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "environment.h"
#include "glpk_output.h"
#include "messages.h"
#include "rundd.h"
#include "solution.h"

namespace rundd {

namespace {

struct Problem {
  glp_prob *prob = glp_create_prob();
  ~Problem() { glp_delete_prob(prob); }
};

int BoundsType(double lower, double upper) {
  const bool has_lower = std::isfinite(lower), has_upper = std::isfinite(upper);
  if (has_lower && has_upper) return lower == upper ? GLP_FX : GLP_DB;
  if (has_lower) return GLP_LO;
  return has_upper ? GLP_UP : GLP_FR;
}

void Build(const Model &model, glp_prob *p) {
  const ModelContent &c = model.content;
  const int m = model.RowCount(), n = model.ColumnCount();
  glp_set_obj_dir(p, c.direction < 0 ? GLP_MAX : GLP_MIN);
  glp_set_obj_coef(p, 0, c.objective_constant);
  if (m > 0) glp_add_rows(p, m);
  if (n > 0) glp_add_cols(p, n);
  for (int i = 0; i < m; ++i) {
    double lower, upper;
    model.RowBoundsInForce(i, &lower, &upper);
    glp_set_row_bnds(p, i + 1, BoundsType(lower, upper), lower, upper);
  }
  std::vector<int> index(m + 1);
  std::vector<double> value(m + 1);
  for (int j = 0; j < n; ++j) {
    const double lower = model.LowerInForce(j), upper = model.UpperInForce(j);
    glp_set_col_bnds(p, j + 1, BoundsType(lower, upper), lower, upper);
    if (c.columns[j].integer) glp_set_col_kind(p, j + 1, GLP_IV);
    glp_set_obj_coef(p, j + 1, c.cost[j]);
    int count = 0;
    for (int k = c.column_start[j]; k < c.column_start[j + 1]; ++k) {
      index[++count] = c.row_index[k] + 1;
      value[count] = c.coefficient[k];
    }
    glp_set_mat_col(p, j + 1, count, index.data(), value.data());
  }
}

int BasisStatus(int glpk_status) {
  switch (glpk_status) {
    case GLP_BS:
      return RUNDD_BASIS_BASIC;
    case GLP_NU:
      return RUNDD_BASIS_AT_UPPER;
    case GLP_NF:
      return RUNDD_BASIS_SUPERBASIC;
    default:
      return RUNDD_BASIS_AT_LOWER;  // GLP_NL, GLP_NS
  }
}

// Levels, marginals and basis statuses of the last simplex run.
void ReadBasicSolution(glp_prob *p, Solution *s) {
  for (size_t j = 0; j < s->column_level.size(); ++j) {
    const int col = static_cast<int>(j) + 1;
    s->column_level[j] = glp_get_col_prim(p, col);
    s->column_marginal[j] = glp_get_col_dual(p, col);
    s->column_basis[j] = BasisStatus(glp_get_col_stat(p, col));
  }
  for (size_t i = 0; i < s->row_level.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    s->row_level[i] = glp_get_row_prim(p, row);
    s->row_marginal[i] = glp_get_row_dual(p, row);
    s->row_basis[i] = BasisStatus(glp_get_row_stat(p, row));
  }
  s->has_values = true;
}

// The statuses of a simplex run that returned `code`.
void LinearStatuses(glp_prob *p, int code, bool integer_model, Solution *s) {
  const bool feasible = glp_get_prim_stat(p) == GLP_FEAS;
  if (code == GLP_EITLIM || code == GLP_ETMLIM) {
    s->solve_status = code == GLP_EITLIM ? RUNDD_SOLVE_ITERATION_LIMIT : RUNDD_SOLVE_RESOURCE_LIMIT;
    s->model_status =
        feasible && !integer_model ? RUNDD_MODEL_INTERMEDIATE_NONOPTIMAL : RUNDD_MODEL_INTERMEDIATE_INFEASIBLE;
    return;
  }
  s->solve_status = RUNDD_SOLVE_NORMAL;
  switch (glp_get_status(p)) {
    case GLP_OPT:
      s->model_status = RUNDD_MODEL_OPTIMAL;
      break;
    case GLP_NOFEAS:
      s->model_status = integer_model ? RUNDD_MODEL_INTEGER_INFEASIBLE : RUNDD_MODEL_INFEASIBLE;
      break;
    case GLP_UNBND:
      s->model_status = RUNDD_MODEL_UNBOUNDED;
      break;
    default:
      s->model_status = feasible ? RUNDD_MODEL_INTERMEDIATE_NONOPTIMAL : RUNDD_MODEL_INTERMEDIATE_INFEASIBLE;
  }
}

// Bounds in force that cross (an alternative lower bound above the upper one, say) leave nothing to solve.
bool BoundsCross(const Model &model) {
  for (int j = 0; j < model.ColumnCount(); ++j) {
    if (model.LowerInForce(j) > model.UpperInForce(j)) return true;
  }
  for (int i = 0; i < model.RowCount(); ++i) {
    double lower, upper;
    model.RowBoundsInForce(i, &lower, &upper);
    if (lower > upper) return true;
  }
  return false;
}

void StopWhenInterrupted(glp_tree *tree, void *environment) {
  if (glp_ios_reason(tree) == GLP_ISELECT && static_cast<Environment *>(environment)->interrupt) {
    glp_ios_terminate(tree);
  }
}

// Branch and bound after an optimal relaxation; the integer columns are then fixed and the linear program solved
// once more for the marginals. False with GLPK's error code in *failure when GLPK failed.
bool SolveInteger(glp_prob *p, const SolveLimits &limits, Environment *environment, int time_limit, Solution *s,
                  int *failure) {
  glp_iocp parm;
  glp_init_iocp(&parm);
  parm.presolve = GLP_OFF;
  parm.tm_lim = time_limit;
  parm.mip_gap = limits.relative_gap;
  parm.cb_func = &StopWhenInterrupted;
  parm.cb_info = environment;
  const int code = glp_intopt(p, &parm);
  const int status = glp_mip_status(p);
  const bool found = status == GLP_OPT || status == GLP_FEAS;
  s->solve_status = code == GLP_ETMLIM  ? RUNDD_SOLVE_RESOURCE_LIMIT
                    : code == GLP_ESTOP ? RUNDD_SOLVE_USER_INTERRUPT
                                        : RUNDD_SOLVE_NORMAL;
  if (code != 0 && code != GLP_ETMLIM && code != GLP_ESTOP && code != GLP_EMIPGAP) {
    *failure = code;
    return false;
  }
  if (status == GLP_NOFEAS) {
    s->model_status = RUNDD_MODEL_INTEGER_INFEASIBLE;
  } else if (!found) {
    s->model_status = RUNDD_MODEL_NO_SOLUTION;
  } else {
    s->model_status = status == GLP_OPT && code == 0 ? RUNDD_MODEL_OPTIMAL : RUNDD_MODEL_INTEGER_SOLUTION;
  }
  s->has_values = false;
  if (!found) return true;
  std::vector<double> columns(s->column_level.size());
  for (size_t j = 0; j < columns.size(); ++j) columns[j] = glp_mip_col_val(p, static_cast<int>(j) + 1);
  // The marginals: the linear program with every integer column fixed at its value, warm from the relaxation.
  for (size_t j = 0; j < columns.size(); ++j) {
    const int col = static_cast<int>(j) + 1;
    if (glp_get_col_kind(p, col) == GLP_IV) glp_set_col_bnds(p, col, GLP_FX, columns[j], columns[j]);
  }
  glp_smcp lp;
  glp_init_smcp(&lp);
  lp.presolve = GLP_OFF;
  if (glp_simplex(p, &lp) == 0 && glp_get_status(p) == GLP_OPT) {
    ReadBasicSolution(p, s);
  } else {
    s->has_values = true;  // levels without marginals
    std::fill(s->column_marginal.begin(), s->column_marginal.end(), 0.0);
    std::fill(s->row_marginal.begin(), s->row_marginal.end(), 0.0);
  }
  for (size_t j = 0; j < columns.size(); ++j) s->column_level[j] = columns[j];
  for (size_t i = 0; i < s->row_level.size(); ++i) s->row_level[i] = glp_mip_row_val(p, static_cast<int>(i) + 1);
  return true;
}

}  // namespace

bool GlpkEngine::DoRun(const SolveLimits &limits, std::string *error) {
  Model &model = *model_;
  const bool integer_model = model.content.model_type == RUNDD_MODEL_TYPE_MIP;
  if (BoundsCross(model)) {  // GLPK would refuse to start
    WriteStatuses(model, integer_model ? RUNDD_MODEL_INTEGER_INFEASIBLE : RUNDD_MODEL_INFEASIBLE, RUNDD_SOLVE_NORMAL);
    return true;
  }
  Environment *environment = model.environment.get();
  GlpkOutput output;
  Problem problem;
  Build(model, problem.prob);
  const int time_limit = limits.seconds * 1000 < 2e9 ? static_cast<int>(limits.seconds * 1000) : INT_MAX;
  glp_smcp parm;
  glp_init_smcp(&parm);
  parm.presolve = GLP_OFF;  // so that a basis (and with it marginals) comes back for every outcome
  parm.it_lim = limits.iterations;
  parm.tm_lim = time_limit;
  int code = glp_simplex(problem.prob, &parm);
  Solution solution;
  solution.Resize(model.ColumnCount(), model.RowCount());
  bool ok = code == 0 || code == GLP_EITLIM || code == GLP_ETMLIM;
  if (ok) {
    LinearStatuses(problem.prob, code, integer_model, &solution);
    ReadBasicSolution(problem.prob, &solution);
    if (integer_model && code == 0 && glp_get_status(problem.prob) == GLP_OPT) {
      ok = SolveInteger(problem.prob, limits, environment, time_limit, &solution, &code);
    } else if (integer_model) {
      solution.has_values = false;  // a relaxation's point is no integer solution
    }
  }
  environment->AppendLog(output.text());
  if (!ok) {
    WriteStatuses(model, RUNDD_MODEL_NO_SOLUTION, RUNDD_SOLVE_SOLVER_FAILURE);
    *error = msg::SolverFailed("GLPK", code);
    return false;
  }
  WriteSolution(model, solution);
  return true;
}

}  // namespace rundd
