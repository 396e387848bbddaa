#include "api/hostile_input.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <type_traits>
#include <utility>

#include "support/scratch_dir.h"
#include "tvbcclib_signatures.h"

namespace tvbtest::hostile {
namespace {

// ---- the table, read back into operations ----

std::string trim(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  while (!s.empty() && (s.back() == ' ' || s.back() == '\n')) s.pop_back();
  return s;
}

// "(tvbHandle *ptvb, const char *name, int dim)" -> its parameters with their codes (the database has none).
std::vector<Parameter> parse(const char* params, std::vector<int> codes) {
  std::string text(params);
  text = text.substr(1, text.size() - 2);
  std::vector<Parameter> result;
  std::stringstream stream(text);
  for (std::string item; std::getline(stream, item, ',');) {
    item = trim(item);
    size_t split = item.find_last_of(" *");
    Parameter p;
    p.name = item.substr(split + 1);
    for (char c : item.substr(0, split + 1))
      if (c != ' ') p.type += c;
    result.push_back(p);
  }
  for (size_t i = 1; i < result.size(); ++i) result[i].code = codes[i];
  return result;
}

template <class P>
P argument(const Arguments& a, size_t i) {
  if constexpr (std::is_pointer_v<P>)
    return reinterpret_cast<P>(a.pointers[i]);
  else if constexpr (std::is_floating_point_v<P>)
    return static_cast<P>(a.reals[i]);
  else
    return static_cast<P>(a.integers[i]);
}

template <class R, class... P, size_t... I>
bool invoke(R (*entry)(tvbHandle*, P...), const Arguments& a, std::index_sequence<I...>) {
  R result = entry(a.db, argument<P>(a, I + 1)...);
  if constexpr (std::is_pointer_v<R>)
    return a.status ? *a.status != 0 : result != nullptr;
  else
    return result != 0;
}

template <class R, class... P>
Call bind(R (*entry)(tvbHandle*, P...)) {
  return [entry](const Arguments& a) { return invoke(entry, a, std::index_sequence_for<P...>{}); };
}

#define TVB_UNPAREN(...) __VA_ARGS__
#define TVB_LABELS_IN const char* const*
#define TVB_LABELS_OUT char**
#define TVB_LP_D(lower) bind(&d__tvb##lower)
#define TVB_LP_C(lower) Call()
#define TVB_LP_CO(lower) Call()
#define TVB_OP(area, Name, lower, result, params, args, sig, family)                                \
  TVB_IF_BUILT(area,                                                                                \
               Operation{"tvb" #Name, parse(#params, {TVB_UNPAREN sig}), std::is_pointer_v<result>, \
                         bind(&c__tvb##lower), TVB_LP_##family(lower)}, )

std::vector<Operation> tableOperations() {
  return {
#include "tvbcclib_operations.h"
  };
}
#undef TVB_OP

// ---- the fixture: two databases alike, and arguments that each operation accepts ----

constexpr int kSlots = GLOBAL_MAX_INDEX_DIM;
using Block = std::array<char, kSlots * TRV_SSSIZE>;

void lengthPrefixed(const std::string& text, char* out) {
  out[0] = static_cast<char>(text.size());
  std::memcpy(out + 1, text.data(), text.size());
}

struct Database {
  tvbHandle* db = nullptr;
  tvbSymbol *set = nullptr, *parameter = nullptr, *variable = nullptr, *checked = nullptr;
  tvbRecordHandle *setRecord = nullptr, *variableRecord = nullptr, *removed = nullptr;
  tvbDVHandle* violation = nullptr;

  Database() {
    char msg[TRV_SSSIZE];
    tvbcreate(&db, msg, sizeof msg);
    c__tvbaddsymbol(db, "i", 1, TRV_DT_SET, 0, "", &set);
    c__tvbaddsymbol(db, "p", 2, TRV_DT_PAR, 0, "", &parameter);
    c__tvbaddsymbol(db, "x", 1, TRV_DT_VAR, TRV_VAR_FREE, "", &variable);
    tvbSymbol* domains[1] = {set};
    const char* names[1] = {"i"};
    c__tvbaddsymbolx(db, "c", 1, TRV_DT_PAR, 0, "", domains, names, &checked);
    for (const char* label : {"a", "b"}) add(set, {label});
    for (auto key : {std::pair{"a", "a"}, {"a", "b"}, {"b", "a"}}) add(parameter, {key.first, key.second});
    add(variable, {"b"});
    add(checked, {"z"});  // outside its domain
    setRecord = add(set, {"c"});
    variableRecord = add(variable, {"a"});
    removed = add(variable, {"c"});
    tvbRecordHandle* remover = nullptr;
    c__tvbcopysymboliterator(db, removed, &remover);
    c__tvbdeleterecord(db, remover);
    c__tvbgetfirstdvinsymbol(db, checked, &violation);
  }
  tvbRecordHandle* add(tvbSymbol* sym, std::vector<const char*> labels) {
    tvbRecordHandle* rec = nullptr;
    c__tvbaddrecord(db, sym, labels.data(), &rec);
    return rec;
  }
};

struct Fixture {
  Database own, other;
  std::vector<std::string> strings;  // zero-terminated string arguments, per parameter
  std::vector<Block> blocks;         // length-prefixed strings and label blocks, per parameter
  std::vector<std::array<const char*, kSlots>> labelArrays;
  std::vector<std::array<char*, kSlots>> bufferArrays;
  std::vector<std::array<tvbSymbol*, kSlots>> symbolArrays;
  std::vector<std::array<int, kSlots>> ints;
  std::vector<std::array<double, kSlots>> doubles;
  std::vector<std::array<char, TRV_SSSIZE>> texts;
  std::array<char, kSlots * TRV_SSSIZE> labelBuffers{};
  std::vector<double> cube = std::vector<double>(1 << 16);
  tvbSymbol* outSymbol = nullptr;
  tvbRecordHandle* outRecord = nullptr;
  tvbDVHandle* outViolation = nullptr;

  // What the string argument called name holds when it is not hostile.
  static std::string baseString(const std::string& name) {
    static const std::map<std::string, std::string> kStrings = {
        {"name", "p"}, {"text", "t"}, {"msg", "hello"}, {"fileName", "f.tvf"}, {"solver", "glpk"}};
    auto it = kStrings.find(name);
    return it == kStrings.end() ? "a" : it->second;
  }

  // The bound of an index argument: the largest value that can make sense.
  long bound(const Operation& op, const std::string& name) {
    int count = 0;
    if (name == "uelNr") return c__tvbinfo(own.db, TRV_INFO_UEL_COUNT, &count, nullptr, nullptr), count;
    if (name == "index" && op.name.find("Symbol") != std::string::npos)
      return c__tvbinfo(own.db, TRV_INFO_SYMBOL_COUNT, &count, nullptr, nullptr), count;
    static const std::map<std::string, long> kBounds = {{"infoKey", TRV_SYMINFO_WRITTEN},
                                                        {"field", TRV_FIELD_SCALE},
                                                        {"type", TRV_DT_ALIAS},
                                                        {"index", 1},
                                                        {"actionType", 5},
                                                        {"updateType", 2}};
    auto it = kBounds.find(name);
    return it == kBounds.end() ? GLOBAL_MAX_INDEX_DIM : it->second;
  }

  long baseInteger(const Operation& op, const Parameter& p) {
    if (p.name == "dim" || p.name == "aDim") return op.name == "tvbAddSymbol" || op.name == "tvbAddSymbolX" ? 1 : 2;
    if (p.name == "type") return TRV_DT_PAR;
    if (p.name == "infoKey") return TRV_SYMINFO_DIM;
    return 0;
  }

  // The record a record handle argument of op stands on: element texts live on set records.
  Database& of(bool foreign) { return foreign ? other : own; }
  tvbRecordHandle* record(const Operation& op, bool foreign) {
    return op.name.find("ElemText") != std::string::npos ? of(foreign).setRecord : of(foreign).variableRecord;
  }

  void* basePointer(const Operation& op, size_t i, bool lp) {
    const Parameter& p = op.parameters[i];
    const std::string& t = p.type;
    if (t == "tvbHandle*") return other.db;
    if (t == "tvbSymbol*") return own.parameter;
    if (t == "tvbRecordHandle*") return record(op, false);
    if (t == "tvbDVHandle*") return own.violation;
    if (t == "tvbSymbol**") {
      if (p.name == "sym") return &outSymbol;
      symbolArrays[i].fill(own.set);
      return symbolArrays[i].data();
    }
    if (t == "tvbRecordHandle**") return &outRecord;
    if (t == "tvbDVHandle**") return &outViolation;
    if (t == "void*" || t == "constvoid*") return p.name == "cube" ? cube.data() : nullptr;
    if (t.rfind("tvbHost", 0) == 0) return nullptr;
    if (p.code == SIG_STRING_IN)
      return setString(i, op.name.rfind("tvbAddSymbol", 0) == 0 && p.name == "name" ? "q" : baseString(p.name), lp);
    if (p.code == SIG_STRING_OUT) return texts[i].data();
    if (p.code == SIG_LABELS_IN) return setLabels(i, 1, lp, false);
    if (p.code == SIG_LABELS_OUT) {
      if (lp) return blocks[i].data();
      for (int k = 0; k < kSlots; ++k) bufferArrays[i][k] = &labelBuffers[k * TRV_SSSIZE];
      return bufferArrays[i].data();
    }
    if (t == "constint*" || t == "int*") {
      ints[i].fill(p.code == SIG_KEY_IN ? 1 : 3);  // keys of label 1; extents of 3, the labels of set i
      return ints[i].data();
    }
    doubles[i].fill(p.code == SIG_SPECIALS_IN ? 1e300 : 1.5);
    return doubles[i].data();
  }

  void* setString(size_t i, const std::string& text, bool lp) {
    if (lp) {
      lengthPrefixed(text, blocks[i].data());
      return blocks[i].data();
    }
    strings[i] = text;
    return strings[i].data();
  }

  // Labels of the given length ("a" for length 1, for which keys exist), or one null label first.
  void* setLabels(size_t i, size_t length, bool lp, bool nullFirst) {
    static const char* const kKey[] = {"a", "b"};
    for (int k = 0; k < kSlots; ++k) {
      std::string label = length == 1 ? kKey[k % 2] : std::string(length, 'l');
      if (lp) {
        lengthPrefixed(label, &blocks[i][k * TRV_SSSIZE]);
      } else {
        static std::vector<std::string> kept(kSlots);  // a child runs one case: the texts may stay
        kept[k] = label;
        labelArrays[i][k] = kept[k].c_str();
      }
    }
    if (lp) return blocks[i].data();
    if (nullFirst) labelArrays[i][0] = nullptr;
    return labelArrays[i].data();
  }

  Arguments arguments(const Operation& op, bool lp) {
    const size_t n = op.parameters.size();
    strings.resize(n), blocks.resize(n), labelArrays.resize(n), bufferArrays.resize(n), symbolArrays.resize(n);
    ints.resize(n), doubles.resize(n), texts.resize(n);
    Arguments a;
    a.db = own.db;
    a.pointers.assign(n, nullptr), a.integers.assign(n, 0), a.reals.assign(n, 0);
    for (size_t i = 1; i < n; ++i) {
      const Parameter& p = op.parameters[i];
      if (p.code == SIG_INT || p.code == SIG_BOOL)
        a.integers[i] = baseInteger(op, p);
      else if (p.code == SIG_DOUBLE)
        a.reals[i] = 1.5;
      else
        a.pointers[i] = basePointer(op, i, lp);
    }
    if (op.pyForm) a.status = static_cast<int*>(a.pointers[n - 1]);
    return a;
  }

  void apply(const Operation& op, const Variant& v, bool lp, Arguments* a) {
    const Parameter& p = op.parameters[v.parameter];
    switch (v.kind) {
      case Kind::kNull:
        if (v.parameter == 0) a->db = nullptr;
        a->pointers[v.parameter] = nullptr;
        if (op.pyForm && v.parameter + 1 == static_cast<int>(op.parameters.size())) a->status = nullptr;
        return;
      case Kind::kStringLength:
        a->pointers[v.parameter] = p.code == SIG_LABELS_IN ? setLabels(v.parameter, v.number, lp, false)
                                                           : setString(v.parameter, std::string(v.number, 's'), lp);
        return;
      case Kind::kNullLabel:
        a->pointers[v.parameter] = setLabels(v.parameter, 1, lp, true);
        return;
      case Kind::kIndex:
        a->integers[v.parameter] = v.number;
        return;
      case Kind::kForeignHandle:
        if (p.type == "tvbSymbol*") a->pointers[v.parameter] = other.parameter;
        if (p.type == "tvbRecordHandle*") a->pointers[v.parameter] = record(op, true);
        if (p.type == "tvbSymbol**") symbolArrays[v.parameter].fill(other.set);
        if (p.type == "tvbDVHandle*") a->pointers[v.parameter] = other.violation;
        return;
      case Kind::kRemovedRecord:
        a->pointers[v.parameter] = own.removed;
        return;
    }
  }
};

void writeAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += n;
  }
}

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  return text;
}

constexpr const char* kSentinel = "Uel index -7777777 out of range";

[[noreturn]] void runChild(const Operation& op, const Variant* variant, bool lp, int resultFd, int errorFd,
                           const std::string& dir) {
  dup2(errorFd, 2);
  int devNull = open("/dev/null", O_WRONLY);
  dup2(devNull, 1);
  alarm(60);
  if (chdir(dir.c_str()) != 0) _exit(90);
  Fixture f;
  Arguments a = f.arguments(op, lp);
  if (variant) {
    // The bounds are asked of the database before the call, so that an index variant can name one.
    Variant v = *variant;
    if (v.kind == Kind::kIndex && v.number >= 1000)
      v.number = f.bound(op, op.parameters[v.parameter].name) + v.number - 1000;
    f.apply(op, v, lp, &a);
  }
  char text[TRV_SSSIZE];
  c__tvbgetuelbyindex(f.own.db, -7777777, text);  // a known last error, to see whether the call stores one
  const bool ok = (lp ? op.lengthPrefixed : op.zeroTerminated)(a);
  std::string report = ok ? "ok\n" : "failed\n";
  c__tvbgetlasterror(f.own.db, text);
  if (std::strncmp(text, kSentinel, std::strlen(kSentinel)) != 0) report += text;
  writeAll(resultFd, report);
  _exit(0);  // no exit handlers: the handles the call made are the process's to drop
}

}  // namespace

bool Parameter::isPointer() const { return code != SIG_INT && code != SIG_BOOL && code != SIG_DOUBLE; }

std::string Variant::describe(const Operation& op) const {
  const std::string& p = op.parameters[parameter].name;
  switch (kind) {
    case Kind::kNull:
      return p + " = NULL";
    case Kind::kStringLength:
      return p + " of " + std::to_string(number) + " characters";
    case Kind::kNullLabel:
      return p + " with a NULL label";
    case Kind::kIndex:
      return p + " = " + (number >= 1000 ? "bound" + std::string(number > 1000 ? " + 1" : "") : std::to_string(number));
    case Kind::kForeignHandle:
      return p + " of another database";
    case Kind::kRemovedRecord:
      return p + " on a removed record";
  }
  return p;
}

const std::vector<Operation>& operations() {
  static const std::vector<Operation> kOperations = tableOperations();
  return kOperations;
}

std::vector<Variant> variantsOf(const Operation& op, bool lp) {
  std::vector<Variant> result;
  for (size_t i = 0; i < op.parameters.size(); ++i) {
    const Parameter& p = op.parameters[i];
    const int index = static_cast<int>(i);
    if (i == 0 || p.isPointer()) result.push_back({index, Kind::kNull, 0});
    if (p.code == SIG_STRING_IN || p.code == SIG_LABELS_IN)
      for (int length : {0, 63, 64, 255, 256, 4096})
        if (!lp || length <= 255) result.push_back({index, Kind::kStringLength, length});
    if (p.code == SIG_LABELS_IN && !lp) result.push_back({index, Kind::kNullLabel, 0});
    if (p.code == SIG_INT)  // -1, 0, the bound and the bound + 1 (1000 stands for the bound)
      for (int number : {-1, 0, 1000, 1001}) result.push_back({index, Kind::kIndex, number});
    const bool symbolsRead = p.type == "tvbSymbol**" && p.name != "sym" && op.name != "tvbGetDomain";
    if (p.type == "tvbSymbol*" || p.type == "tvbRecordHandle*" || p.type == "tvbDVHandle*" || symbolsRead)
      result.push_back({index, Kind::kForeignHandle, 0});
    if (p.type == "tvbRecordHandle*") result.push_back({index, Kind::kRemovedRecord, 0});
  }
  return result;
}

Outcome run(const Operation& op, const Variant* variant, bool lp) {
  ScratchDir dir;
  int result[2], error[2];
  if (pipe(result) != 0 || pipe(error) != 0) std::abort();
  std::fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    close(result[0]), close(error[0]);
    runChild(op, variant, lp, result[1], error[1], dir.path(""));
  }
  close(result[1]), close(error[1]);
  Outcome outcome;
  outcome.errorOutput = readAll(error[0]);
  std::string report = readAll(result[0]);
  close(result[0]), close(error[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  outcome.assertion = outcome.signal == SIGABRT && outcome.errorOutput.find("Assertion failed: ") != std::string::npos;
  outcome.exited = !report.empty();
  outcome.failed = report.rfind("failed\n", 0) == 0;
  if (outcome.exited) outcome.message = report.substr(report.find('\n') + 1);
  return outcome;
}

}  // namespace tvbtest::hostile
