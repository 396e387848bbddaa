// The model-instance library's entries (tvp): creating, loading and reading an instance, its alternatives,
// views and statuses.
#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "dictionary.h"
#include "entry_frame.h"
#include "environment.h"
#include "mathprog_loader.h"
#include "model_instance.h"
#include "rundd.h"

using rundd::Column;
using rundd::Guarded;
using rundd::Model;
using rundd::Row;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// body(model, entry) for the column (Entry Column) or row (Entry Row) of an index in range; failure with a last
// error otherwise.
template <class Entry, class R, class Body>
R OnEntry(void *pt, const char *operation, int index, R failure, Body &&body) {
  return Guarded<Model>(pt, operation, failure, [&](Model &m) -> R {
    constexpr bool kColumn = std::is_same_v<Entry, Column>;
    std::vector<Entry> &entries = [&]() -> std::vector<Entry> & {
      if constexpr (kColumn) {
        return m.content.columns;
      } else {
        return m.content.rows;
      }
    }();
    if (index < 0 || index >= static_cast<int>(entries.size())) {
      const int count = static_cast<int>(entries.size());
      m.last_error = kColumn ? rundd::msg::ColumnOutOfRange(operation, index, count)
                             : rundd::msg::RowOutOfRange(operation, index, count);
      return failure;
    }
    return body(m, entries[index]);
  });
}

template <class R, class Body>
R OnColumn(void *pt, const char *operation, int j, R failure, Body &&body) {
  return OnEntry<Column>(pt, operation, j, failure, std::forward<Body>(body));
}

template <class R, class Body>
R OnRow(void *pt, const char *operation, int i, R failure, Body &&body) {
  return OnEntry<Row>(pt, operation, i, failure, std::forward<Body>(body));
}

// A value to store: NaN is refused.
bool IsValue(Model &m, const char *operation, double value) {
  if (!std::isnan(value)) return true;
  m.last_error = rundd::msg::NotANumber(operation);
  return false;
}

// Every level or marginal of the columns or rows into values.
template <class Entry, class Get>
int CopyAll(void *pt, const char *operation, double *values, std::vector<Entry> rundd::ModelContent::*entries,
            Get get) {
  return Guarded<Model>(pt, operation, 0, [&](Model &m) {
    if (values == nullptr) {
      m.last_error = rundd::msg::NullArgument(operation, "the array");
      return 0;
    }
    const std::vector<Entry> &all = m.content.*entries;
    for (size_t k = 0; k < all.size(); ++k) values[k] = get(all[k]);
    return 1;
  });
}

// Stores value (NaN refused) in one field of a column or row, and logs the entry as changed for held solvers.
// Alternative bounds are bounds: values at or beyond the instance's infinities are infinite.
template <class Entry>
void SetField(void *pt, const char *operation, int index, double value, double Entry::*field) {
  OnEntry<Entry>(pt, operation, index, 0, [&](Model &m, Entry &e) {
    if (!IsValue(m, operation, value)) return 0;
    if constexpr (std::is_same_v<Entry, Column>) {
      const bool bound = field == &Column::alt_lower || field == &Column::alt_upper;
      e.*field = bound ? m.Taken(value) : value;
      m.ColumnChanged(index);
    } else {
      e.*field = value;
      m.RowChanged(index);
    }
    return 1;
  });
}

template <class Entry>
int GetRecord(Entry &e, double *level, double *marginal, int *basis_status, int *condition) {
  if (level != nullptr) *level = e.level;
  if (marginal != nullptr) *marginal = e.marginal;
  if (basis_status != nullptr) *basis_status = e.basis_status;
  if (condition != nullptr) *condition = e.condition;
  return 1;
}

template <class Entry>
int SetRecord(Model &m, const char *operation, Entry &e, double level, double marginal, int basis_status,
              int condition) {
  if (!IsValue(m, operation, level) || !IsValue(m, operation, marginal)) return 0;
  e.level = level;
  e.marginal = marginal;
  e.basis_status = basis_status;
  e.condition = condition;
  return 1;
}

void SetSwitch(void *pt, const char *operation, bool rundd::ViewSwitches::*field, int on) {
  Guarded<Model>(pt, operation, 0, [&](Model &m) {
    if (m.switches.*field != (on != 0)) m.AllChanged();
    m.switches.*field = on != 0;
    return 1;
  });
}

void SetInfinity(void *pt, const char *operation, double rundd::ViewSwitches::*field, double value) {
  Guarded<Model>(pt, operation, 0, [&](Model &m) {
    if (!IsValue(m, operation, value)) return 0;
    m.switches.*field = value;
    return 1;
  });
}

}  // namespace

extern "C" {

int tvpXCreate(void **pt) { return rundd::CreateObject<Model>(pt, ""); }

int CtvpXCreateD(void **pt, const char *dir) { return rundd::CreateObject<Model>(pt, dir != nullptr ? dir : ""); }

int tvpXFree(void **pt) { return rundd::FreeObject<Model>(pt); }

int CtvpLoadMathProg(tvpHandle_t pt, const char *modelFile, const char *dataFile, char *msg, int msgLen) {
  rundd::CopyOut(msg, msgLen, "");
  if (rundd::FromHandle<Model>(pt) == nullptr) {
    rundd::CopyOut(msg, msgLen, rundd::msg::NullArgument("tvpLoadMathProg", "the model instance"));
    return 0;
  }
  const int ok = Guarded<Model>(pt, "tvpLoadMathProg", 0, [&](Model &m) {
    rundd::LoadedModel loaded;
    std::string error, output;
    const bool ok = rundd::LoadMathProg(modelFile, dataFile, &loaded, &error, &output);
    m.environment->AppendLog(output);
    if (!ok) {
      m.last_error = error;
      rundd::CopyOut(msg, msgLen, error);
      return 0;
    }
    m.Replace(std::move(loaded.content), std::move(loaded.dictionary));
    return 1;
  });
  // A failure that the frame caught (no memory, say) has its text only in the last error.
  if (ok == 0 && msg != nullptr && msgLen > 0 && msg[0] == '\0') {
    rundd::CopyOut(msg, msgLen, rundd::FromHandle<Model>(pt)->last_error);
  }
  return ok;
}

void *tvpEnvironment(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpEnvironment", static_cast<void *>(nullptr),
                        [](Model &m) { return rundd::ToHandle(m.environment.get()); });
}

void *tvpDict(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpDict", static_cast<void *>(nullptr), [](Model &m) {
    return m.dictionary != nullptr ? rundd::ToHandle(m.dictionary.get()) : nullptr;
  });
}

void *tvpViewStore(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpViewStore", static_cast<void *>(nullptr), [](Model &m) {
    m.views.push_back(std::make_unique<rundd::View>(m.switches));
    return rundd::ToHandle(m.views.back().get());
  });
}

void tvpViewRestore(tvpHandle_t pt, void **view) {
  Guarded<Model>(pt, "tvpViewRestore", 0, [&](Model &m) {
    if (view == nullptr) {
      m.last_error = rundd::msg::NullArgument("tvpViewRestore", "the view");
      return 0;
    }
    for (auto it = m.views.begin(); it != m.views.end(); ++it) {
      if (rundd::ToHandle(it->get()) == *view) {
        const rundd::ViewSwitches &saved = (*it)->switches;
        if (saved.alt_bounds_on != m.switches.alt_bounds_on || saved.alt_rhs_on != m.switches.alt_rhs_on) {
          m.AllChanged();
        }
        m.switches = saved;
        m.views.erase(it);
        *view = nullptr;
        return 1;
      }
    }
    m.last_error = rundd::msg::UnknownView();
    return 0;
  });
}

int tvpGetVarL(tvpHandle_t pt, double *levels) {
  return CopyAll(pt, "tvpGetVarL", levels, &rundd::ModelContent::columns, [](const Column &c) { return c.level; });
}
int tvpGetVarM(tvpHandle_t pt, double *marginals) {
  return CopyAll(pt, "tvpGetVarM", marginals, &rundd::ModelContent::columns,
                 [](const Column &c) { return c.marginal; });
}
int tvpGetEquL(tvpHandle_t pt, double *levels) {
  return CopyAll(pt, "tvpGetEquL", levels, &rundd::ModelContent::rows, [](const Row &r) { return r.level; });
}
int tvpGetEquM(tvpHandle_t pt, double *marginals) {
  return CopyAll(pt, "tvpGetEquM", marginals, &rundd::ModelContent::rows, [](const Row &r) { return r.marginal; });
}

double tvpGetVarLOne(tvpHandle_t pt, int col) {
  return OnColumn(pt, "tvpGetVarLOne", col, kNaN, [](Model &, Column &c) { return c.level; });
}
double tvpGetEquLOne(tvpHandle_t pt, int row) {
  return OnRow(pt, "tvpGetEquLOne", row, kNaN, [](Model &, Row &r) { return r.level; });
}
double tvpGetVarLowerOne(tvpHandle_t pt, int col) {
  return OnColumn(pt, "tvpGetVarLowerOne", col, kNaN,
                  [col](Model &m, Column &) { return m.Reported(m.LowerInForce(col)); });
}
double tvpGetVarUpperOne(tvpHandle_t pt, int col) {
  return OnColumn(pt, "tvpGetVarUpperOne", col, kNaN,
                  [col](Model &m, Column &) { return m.Reported(m.UpperInForce(col)); });
}
double tvpGetVarScaleOne(tvpHandle_t pt, int col) {
  return OnColumn(pt, "tvpGetVarScaleOne", col, kNaN, [](Model &, Column &) { return 1.0; });
}
double tvpGetEquScaleOne(tvpHandle_t pt, int row) {
  return OnRow(pt, "tvpGetEquScaleOne", row, kNaN, [](Model &, Row &) { return 1.0; });
}
double tvpGetRhsOne(tvpHandle_t pt, int row) {
  return OnRow(pt, "tvpGetRhsOne", row, kNaN, [](Model &, Row &r) { return r.Rhs(); });
}

void tvpSetVarLOne(tvpHandle_t pt, int col, double level) { SetField(pt, "tvpSetVarLOne", col, level, &Column::level); }
void tvpSetEquLOne(tvpHandle_t pt, int row, double level) { SetField(pt, "tvpSetEquLOne", row, level, &Row::level); }
void tvpSetAltVarLowerOne(tvpHandle_t pt, int col, double lower) {
  SetField(pt, "tvpSetAltVarLowerOne", col, lower, &Column::alt_lower);
}
void tvpSetAltVarUpperOne(tvpHandle_t pt, int col, double upper) {
  SetField(pt, "tvpSetAltVarUpperOne", col, upper, &Column::alt_upper);
}
void tvpSetAltRHSOne(tvpHandle_t pt, int row, double rhs) { SetField(pt, "tvpSetAltRHSOne", row, rhs, &Row::alt_rhs); }

int tvpGetEquTypeOne(tvpHandle_t pt, int row) {
  return OnRow(pt, "tvpGetEquTypeOne", row, -1, [](Model &, Row &r) { return r.Type(); });
}
int tvpGetVarStatOne(tvpHandle_t pt, int col) {
  return OnColumn(pt, "tvpGetVarStatOne", col, -1, [](Model &, Column &c) { return c.basis_status; });
}
int tvpGetVarCStatOne(tvpHandle_t pt, int col) {
  return OnColumn(pt, "tvpGetVarCStatOne", col, -1, [](Model &, Column &c) { return c.condition; });
}
int tvpGetEquStatOne(tvpHandle_t pt, int row) {
  return OnRow(pt, "tvpGetEquStatOne", row, -1, [](Model &, Row &r) { return r.basis_status; });
}
int tvpGetEquCStatOne(tvpHandle_t pt, int row) {
  return OnRow(pt, "tvpGetEquCStatOne", row, -1, [](Model &, Row &r) { return r.condition; });
}

int tvpEvalGradNLUpdate(tvpHandle_t pt, double *rhsChange, int add, int *errorCount) {
  return Guarded<Model>(pt, "tvpEvalGradNLUpdate", 0, [&](Model &m) {
    if (errorCount != nullptr) *errorCount = 0;
    if (rhsChange == nullptr) {
      m.last_error = rundd::msg::NullArgument("tvpEvalGradNLUpdate", "the array of rows");
      return 0;
    }
    // No row has nonlinear terms, so no row's constant changes.
    if (add == 0) std::fill(rhsChange, rhsChange + m.RowCount(), 0.0);
    return 1;
  });
}

int tvpGetSolutionVarRec(tvpHandle_t pt, int col, double *level, double *marginal, int *basisStatus, int *condition) {
  return OnColumn(pt, "tvpGetSolutionVarRec", col, 0,
                  [&](Model &, Column &c) { return GetRecord(c, level, marginal, basisStatus, condition); });
}
int tvpGetSolutionEquRec(tvpHandle_t pt, int row, double *level, double *marginal, int *basisStatus, int *condition) {
  return OnRow(pt, "tvpGetSolutionEquRec", row, 0,
               [&](Model &, Row &r) { return GetRecord(r, level, marginal, basisStatus, condition); });
}
int tvpSetSolutionVarRec(tvpHandle_t pt, int col, double level, double marginal, int basisStatus, int condition) {
  return OnColumn(pt, "tvpSetSolutionVarRec", col, 0, [&](Model &m, Column &c) {
    m.ColumnChanged(col);
    return SetRecord(m, "tvpSetSolutionVarRec", c, level, marginal, basisStatus, condition);
  });
}
int tvpSetSolutionEquRec(tvpHandle_t pt, int row, double level, double marginal, int basisStatus, int condition) {
  return OnRow(pt, "tvpSetSolutionEquRec", row, 0, [&](Model &m, Row &r) {
    return SetRecord(m, "tvpSetSolutionEquRec", r, level, marginal, basisStatus, condition);
  });
}

int tvpModelType(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpModelType", 0, [](Model &m) { return m.content.model_type; });
}
int tvpN(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpN", 0, [](Model &m) { return m.ColumnCount(); });
}
int tvpM(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpM", 0, [](Model &m) { return m.RowCount(); });
}

void tvpModelStatSet(tvpHandle_t pt, int status) {
  Guarded<Model>(pt, "tvpModelStatSet", 0, [&](Model &m) {
    m.model_status = status;
    return 1;
  });
}
void tvpSolveStatSet(tvpHandle_t pt, int status) {
  Guarded<Model>(pt, "tvpSolveStatSet", 0, [&](Model &m) {
    m.solve_status = status;
    return 1;
  });
}

void tvpAltBoundsSet(tvpHandle_t pt, int on) {
  SetSwitch(pt, "tvpAltBoundsSet", &rundd::ViewSwitches::alt_bounds_on, on);
}
void tvpAltRHSSet(tvpHandle_t pt, int on) { SetSwitch(pt, "tvpAltRHSSet", &rundd::ViewSwitches::alt_rhs_on, on); }
void tvpForceLinearSet(tvpHandle_t pt, int on) {
  SetSwitch(pt, "tvpForceLinearSet", &rundd::ViewSwitches::force_linear, on);
}
void tvpPinfSet(tvpHandle_t pt, double plusInfinity) {
  SetInfinity(pt, "tvpPinfSet", &rundd::ViewSwitches::plus_infinity, plusInfinity);
}
void tvpMinfSet(tvpHandle_t pt, double minusInfinity) {
  SetInfinity(pt, "tvpMinfSet", &rundd::ViewSwitches::minus_infinity, minusInfinity);
}

int tvpModelStat(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpModelStat", 0, [](Model &m) { return m.model_status; });
}
int tvpSolveStat(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpSolveStat", 0, [](Model &m) { return m.solve_status; });
}
double tvpGetObjVal(tvpHandle_t pt) {
  return Guarded<Model>(pt, "tvpGetObjVal", kNaN, [](Model &m) { return m.objective_value; });
}
int CtvpGetLastError(tvpHandle_t pt, char *msg) { return rundd::CopyLastError<Model>(pt, "tvpGetLastError", msg); }

}  // extern "C"
