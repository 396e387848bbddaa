// Every message text of the library, formatted in one place.
#ifndef RUNDD_MESSAGES_H
#define RUNDD_MESSAGES_H

#include <string>

namespace rundd::msg {

// printf-style formatting into a string.
std::string Format(const char *format, ...) __attribute__((format(printf, 1, 2)));

// The check and version entries ("runddclib: tvpN has wrong number of arguments.").
std::string CheckNotFound(const char *name);
std::string CheckWrongCount(const char *name);
std::string CheckWrongTypes(const char *name);
std::string ApiTooOld(const char *library, int client, int own);

// Any entry.
std::string OutOfMemory(const char *operation);
std::string Unexpected(const char *operation, const char *what);
std::string NullArgument(const char *operation, const char *argument);
std::string NotANumber(const char *operation);
std::string UnknownView();
std::string ColumnOutOfRange(const char *operation, int j, int count);
std::string RowOutOfRange(const char *operation, int i, int count);

// Loading a model.
std::string NoModelFile();
std::string TranslatorFailed(const char *stage);
std::string UnreadableName(const std::string &name);
std::string CaseOnlyDifference(const std::string &a, const std::string &b);
std::string MixedDimensions(const std::string &symbol);
std::string VariableAndEquation(const std::string &symbol);

// The dictionary.
std::string SymbolOutOfRange(const char *operation, int nr, int count);
std::string LabelOutOfRange(const char *operation, int nr, int count);
std::string UnknownSearch(const char *operation);

// The environment.
std::string UnknownOption(const char *name);
std::string UnknownSolver(const char *name, const std::string &file);

// The configuration.
std::string CannotOpenConfig(const std::string &file, const char *reason);
std::string ConfigFieldCount(const std::string &file, int line, int count);
std::string ConfigHeldInstance(const std::string &file, int line, const std::string &value);
std::string ConfigEngine(const std::string &file, int line, const std::string &value);
std::string ConfigDuplicate(const std::string &file, int line, const std::string &name);
std::string SolverNumberOutOfRange(const char *operation, int nr, int count);
std::string UnknownSolverObject(const char *operation);
std::string NotTheReadyModel();
std::string ModelReloaded();
std::string NotReady(const char *operation);

// Solving.
std::string ClpAndIntegers(int integer_columns);
std::string SolverFailed(const char *solver, int code);
std::string SolverException(const char *solver, const std::string &what);
std::string NoModelLoaded();

}  // namespace rundd::msg

#endif
