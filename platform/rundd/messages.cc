#include "messages.h"

#include <cstdarg>
#include <cstdio>

namespace rundd::msg {

std::string Format(const char *format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  return text;
}

std::string CheckNotFound(const char *name) { return Format("runddclib: %s cannot be found in library.", name); }
std::string CheckWrongCount(const char *name) { return Format("runddclib: %s has wrong number of arguments.", name); }
std::string CheckWrongTypes(const char *name) { return Format("runddclib: %s has wrong argument types.", name); }
std::string ApiTooOld(const char *library, int client, int own) {
  return Format("runddclib: client API version %d is older than the %s library's API version %d, which it needs",
                client, library, own);
}

std::string OutOfMemory(const char *operation) { return Format("Out of memory in %s", operation); }
std::string Unexpected(const char *operation, const char *what) {
  return Format("Unexpected exception in %s: %s", operation, what);
}
std::string NullArgument(const char *operation, const char *argument) {
  return Format("%s: %s is NULL", operation, argument);
}
std::string NotANumber(const char *operation) { return Format("%s: NaN is not a value", operation); }
std::string UnknownView() { return "tvpViewRestore: the view is not a stored view of this instance"; }
std::string ColumnOutOfRange(const char *operation, int j, int count) {
  return Format("%s: column %d is out of range (the model has %d columns)", operation, j, count);
}
std::string RowOutOfRange(const char *operation, int i, int count) {
  return Format("%s: row %d is out of range (the model has %d rows)", operation, i, count);
}

std::string NoModelFile() { return "tvpLoadMathProg: no model file given"; }
std::string TranslatorFailed(const char *stage) { return Format("MathProg model processing error (%s)", stage); }
std::string UnreadableName(const std::string &name) {
  return Format("The name '%s' cannot be taken apart into a symbol and its labels", name.c_str());
}
std::string CaseOnlyDifference(const std::string &a, const std::string &b) {
  return Format("Symbols '%s' and '%s' differ only in letter case, which the database cannot tell apart", a.c_str(),
                b.c_str());
}
std::string MixedDimensions(const std::string &symbol) {
  return Format("Symbol '%s' has entries with different numbers of labels", symbol.c_str());
}
std::string VariableAndEquation(const std::string &symbol) {
  return Format("Symbol '%s' names both columns and rows", symbol.c_str());
}

std::string SymbolOutOfRange(const char *operation, int nr, int count) {
  return Format("%s: symbol %d is out of range (the dictionary has %d symbols)", operation, nr, count);
}
std::string LabelOutOfRange(const char *operation, int nr, int count) {
  return Format("%s: label %d is out of range (the dictionary has %d labels)", operation, nr, count);
}
std::string UnknownSearch(const char *operation) {
  return Format("%s: the search is not an open search of this dictionary", operation);
}

std::string UnknownOption(const char *name) { return Format("tvhGetStrOpt: unknown option '%s'", name); }
std::string UnknownSolver(const char *name, const std::string &file) {
  return Format("Unknown solver '%s' (not in %s)", name, file.c_str());
}

std::string CannotOpenConfig(const std::string &file, const char *reason) {
  return Format("Cannot open solver configuration file '%s': %s", file.c_str(), reason);
}
std::string ConfigFieldCount(const std::string &file, int line, int count) {
  return Format("%s:%d: expected 3 fields (solver, held instance, engine), saw %d", file.c_str(), line, count);
}
std::string ConfigHeldInstance(const std::string &file, int line, const std::string &value) {
  return Format("%s:%d: held instance must be 'yes' or 'no', saw '%s'", file.c_str(), line, value.c_str());
}
std::string ConfigEngine(const std::string &file, int line, const std::string &value) {
  return Format("%s:%d: unknown engine '%s' (known: glpk, clp)", file.c_str(), line, value.c_str());
}
std::string ConfigDuplicate(const std::string &file, int line, const std::string &name) {
  return Format("%s:%d: solver '%s' is listed twice", file.c_str(), line, name.c_str());
}
std::string SolverNumberOutOfRange(const char *operation, int nr, int count) {
  return Format("%s: solver %d is not in the configuration (%d solvers)", operation, nr, count);
}
std::string UnknownSolverObject(const char *operation) {
  return Format("%s: the solver is not an object of cfgAlgCreate", operation);
}
std::string NotTheReadyModel() { return "cfgAlgCallSolver: the model is not the one the solver was made ready with"; }
std::string ModelReloaded() { return "The model was loaded again since the solver was made ready with it"; }
std::string NotReady(const char *operation) {
  return Format("%s: the solver has not been made ready with a model (cfgAlgReadyAPI)", operation);
}

std::string ClpAndIntegers(int integer_columns) {
  return Format("CLP cannot solve models with integer columns (this one has %d); use GLPK", integer_columns);
}
std::string SolverFailed(const char *solver, int code) {
  return Format("%s stopped with error code %d (its output is in the environment's log)", solver, code);
}
std::string SolverException(const char *solver, const std::string &what) {
  return Format("%s failed: %s", solver, what.c_str());
}
std::string NoModelLoaded() { return "No model is loaded in the instance"; }

}  // namespace rundd::msg
