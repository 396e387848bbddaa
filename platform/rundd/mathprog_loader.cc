#include "mathprog_loader.h"

#include <glpk.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "declaration_texts.h"
#include "glpk_output.h"
#include "messages.h"
#include "rundd.h"

namespace rundd {

namespace {

struct TranslatorWorkspace {
  glp_tran *tran = glp_mpl_alloc_wksp();
  ~TranslatorWorkspace() { glp_mpl_free_wksp(tran); }
};

struct Problem {
  glp_prob *prob = glp_create_prob();
  ~Problem() { glp_delete_prob(prob); }
};

// The translator reports an error as "file:line: text" ahead of a context line; warnings look alike and are
// skipped. A file it cannot open is reported at "(unknown):0: ", which says nothing and is dropped.
std::string TranslatorError(const std::string &output, const char *stage) {
  std::istringstream lines(output);
  std::string line, error;
  while (std::getline(lines, line)) {
    const size_t colon = line.find(':');
    const size_t second = colon == std::string::npos ? colon : line.find(": ", colon + 1);
    if (second == std::string::npos || line.compare(second + 2, 8, "warning:") == 0) continue;
    const std::string number = line.substr(colon + 1, second - colon - 1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) continue;
    error = line.compare(0, 13, "(unknown):0: ") == 0 ? line.substr(13) : line;
  }
  return error.empty() ? msg::TranslatorFailed(stage) : error;
}

void Bounds(int type, double lb, double ub, double *lower, double *upper) {
  *lower = type == GLP_LO || type == GLP_DB || type == GLP_FX ? lb : -kInfinity;
  *upper = type == GLP_UP || type == GLP_DB ? ub : type == GLP_FX ? lb : kInfinity;
}

// A fixed column starts at its value, any other at its bound nearest 0 (0 when it has none).
double StartingLevel(double lower, double upper) {
  if (lower == upper) return lower;
  const bool has_lower = std::isfinite(lower), has_upper = std::isfinite(upper);
  if (has_lower && has_upper) return std::fabs(lower) <= std::fabs(upper) ? lower : upper;
  if (has_lower) return lower;
  if (has_upper) return upper;
  return 0;
}

int StartingBasisStatus(const Column &c) {
  if (c.level == c.lower) return RUNDD_BASIS_AT_LOWER;
  if (c.level == c.upper) return RUNDD_BASIS_AT_UPPER;
  return RUNDD_BASIS_SUPERBASIC;
}

ModelContent ContentOf(glp_prob *prob) {
  ModelContent content;
  const int m = glp_get_num_rows(prob), n = glp_get_num_cols(prob);
  const char *objective = glp_get_obj_name(prob);
  content.direction = glp_get_obj_dir(prob) == GLP_MAX ? -1 : 1;
  content.objective_constant = glp_get_obj_coef(prob, 0);
  content.rows.resize(m);
  content.row_names.resize(m);
  for (int i = 0; i < m; ++i) {
    Row &r = content.rows[i];
    const char *name = glp_get_row_name(prob, i + 1);
    content.row_names[i] = name != nullptr ? name : "";
    Bounds(glp_get_row_type(prob, i + 1), glp_get_row_lb(prob, i + 1), glp_get_row_ub(prob, i + 1), &r.lower, &r.upper);
    r.alt_rhs = r.Rhs();
    if (objective != nullptr && content.objective_row < 0 && content.row_names[i] == objective)
      content.objective_row = i;
  }
  content.columns.resize(n);
  content.column_names.resize(n);
  content.cost.resize(n);
  std::vector<int> index(m + 1);
  std::vector<double> value(m + 1);
  bool any_integer = false;
  for (int j = 0; j < n; ++j) {
    Column &c = content.columns[j];
    const char *name = glp_get_col_name(prob, j + 1);
    content.column_names[j] = name != nullptr ? name : "";
    Bounds(glp_get_col_type(prob, j + 1), glp_get_col_lb(prob, j + 1), glp_get_col_ub(prob, j + 1), &c.lower, &c.upper);
    c.alt_lower = c.lower;
    c.alt_upper = c.upper;
    c.integer = glp_get_col_kind(prob, j + 1) != GLP_CV;
    any_integer = any_integer || c.integer;
    c.level = StartingLevel(c.lower, c.upper);
    c.basis_status = StartingBasisStatus(c);
    content.cost[j] = glp_get_obj_coef(prob, j + 1);
    const int count = glp_get_mat_col(prob, j + 1, index.data(), value.data());
    for (int k = 1; k <= count; ++k) {
      content.row_index.push_back(index[k] - 1);
      content.coefficient.push_back(value[k]);
      content.rows[index[k] - 1].level += value[k] * c.level;
    }
    content.column_start.push_back(static_cast<int>(content.row_index.size()));
  }
  if (content.objective_row >= 0) content.rows[content.objective_row].level += content.objective_constant;
  content.model_type = any_integer ? RUNDD_MODEL_TYPE_MIP : RUNDD_MODEL_TYPE_LP;
  return content;
}

std::string FileText(const char *path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

bool LoadMathProg(const char *model_file, const char *data_file, LoadedModel *loaded, std::string *error,
                  std::string *output) {
  if (model_file == nullptr || model_file[0] == '\0') {
    *error = msg::NoModelFile();
    return false;
  }
  const bool separate_data = data_file != nullptr && data_file[0] != '\0';
  GlpkOutput collected;
  TranslatorWorkspace workspace;
  Problem problem;
  bool ok = glp_mpl_read_model(workspace.tran, model_file, separate_data ? 1 : 0) == 0;
  if (ok && separate_data) ok = glp_mpl_read_data(workspace.tran, data_file) == 0;
  if (ok) ok = glp_mpl_generate(workspace.tran, nullptr) == 0;
  *output = collected.text();
  if (!ok) {
    *error = TranslatorError(collected.text(), "translating");
    return false;
  }
  glp_mpl_build_prob(workspace.tran, problem.prob);
  *output = collected.text();
  loaded->content = ContentOf(problem.prob);
  loaded->dictionary = Dictionary::Build(loaded->content, DeclarationTexts(FileText(model_file)), error);
  return loaded->dictionary != nullptr;
}

}  // namespace rundd
