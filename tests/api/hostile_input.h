// Hostile input for every operation, generated from the operation table: each row of the table becomes a set of
// cases, one argument made hostile at a time (null pointers, strings of awkward lengths, indices around their
// bounds, handles of another database and of removed records), every case run in a child process so that a crash
// is seen as one. The cases and the run are here; the suite (hostile_input_test.cc) states what each must answer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tvbcclib.h"

namespace tvbtest::hostile {

// One parameter of an operation, read from the table's parameter list.
struct Parameter {
  std::string type;  // "const char *", "tvbSymbol **", "TVB_LABELS_IN", ...
  std::string name;  // "name", "sym", ...
  int code = 0;      // its signature code
  bool isPointer() const;
};

// What one hostile argument is.
enum class Kind { kNull, kStringLength, kNullLabel, kIndex, kForeignHandle, kRemovedRecord };

struct Variant {
  int parameter = 0;  // index into the operation's parameters (0: the database)
  Kind kind = Kind::kNull;
  int number = 0;  // the string length or the index
  std::string describe(const struct Operation& op) const;
};

// The arguments of one call as the fixture made them: per parameter a pointer, an integer or a double.
struct Arguments {
  tvbHandle* db = nullptr;
  std::vector<void*> pointers;
  std::vector<long> integers;
  std::vector<double> reals;
  int* status = nullptr;  // the status argument of a Py form, when given
};

// How a call came back: its result as a success flag.
using Call = std::function<bool(const Arguments&)>;

struct Operation {
  std::string name;  // "tvbAddSymbol"
  std::vector<Parameter> parameters;
  bool pyForm = false;
  Call zeroTerminated;
  Call lengthPrefixed;  // empty for operations without a d__ entry
};

// Every operation of the table that this build contains.
const std::vector<Operation>& operations();

// The hostile variants of op, for the zero-terminated or the length-prefixed entry.
std::vector<Variant> variantsOf(const Operation& op, bool lengthPrefixed);

// How a case ended.
struct Outcome {
  bool exited = false;      // returned normally from the call
  bool failed = false;      // the call reported failure
  std::string message;      // the last error after a failure ("" when none was stored)
  bool assertion = false;   // ended in a fatal assertion with its text
  int signal = 0;           // the signal that ended it otherwise, or 0
  int exitCode = 0;         // non-zero after a sanitizer report
  std::string errorOutput;  // what the child wrote to standard error
};

// Runs op with one variant (or none: the fixture's own arguments) in a child process.
Outcome run(const Operation& op, const Variant* variant, bool lengthPrefixed);

}  // namespace tvbtest::hostile
