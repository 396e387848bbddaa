#include "support/record_differential.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

#include "core/messages.h"
#include "tvbcclib.h"

namespace tvbtest {

namespace {

namespace msg = tvb::msg;

constexpr int kPoolLabels = 40;   // the labels of records: 40^3 keys leave room for trees of three levels
constexpr int kAbsentLabels = 4;  // asked for by finds and slices, never registered
constexpr int kMaxHandles = 8;
constexpr int kMaxFill = 12000;
constexpr size_t kMaxRecords = 50000;  // of all symbols together: fills stop there, which bounds a run's time
// The caller's values: ordinary ones, and the five special values of a new database, which come back as
// they went in.
constexpr double kValues[] = {0, 1.5, -2.25, 7e10, 1e300, 2e300, 3e300, 4e300, 5e300};
const char* const kTexts[] = {"red", "green", " ", ""};

constexpr int kMaxDim = 3;
using Key = std::array<int, kMaxDim>;  // positions past the symbol's dimension hold 0
using Values = std::array<double, 5>;
using Records = std::map<Key, Values>;

// A new record of a free variable: level, marginal, lower -inf, upper +inf, scale.
constexpr Values kFreeVariable = {0, 0, 4e300, 3e300, 1};

struct Mismatch {
  std::string what;
};

void check(bool ok, const char* what) {
  if (!ok) throw Mismatch{what};
}

std::string format(const char* pattern, ...) {
  char text[TRV_SSSIZE];
  va_list arguments;
  va_start(arguments, pattern);
  std::vsnprintf(text, sizeof text, pattern, arguments);
  va_end(arguments);
  return text;
}

std::string trimmed(std::string label) {
  while (label.size() > 1 && label.back() == ' ') label.pop_back();
  return label;
}

std::string lowered(std::string label) {
  for (char& c : label) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return label;
}

// ("a","b"), as messages write keys and slices.
std::string keyText(const std::vector<std::string>& labels) {
  std::string text = "(";
  for (const std::string& label : labels) text += (text.size() > 1 ? ",\"" : "\"") + label + "\"";
  return text + ")";
}

std::string keyText(const int* key, int dim) {
  std::vector<std::string> numbers;
  for (int i = 0; i < dim; ++i) numbers.push_back(std::to_string(key[i]));
  return keyText(numbers);
}

std::vector<const char*> pointers(const std::vector<std::string>& texts) {
  std::vector<const char*> result;
  for (const std::string& text : texts) result.push_back(text.c_str());
  return result;
}

Key keyOf(const int* numbers, int dim) {
  Key key{};
  std::copy_n(numbers, dim, key.begin());
  return key;
}

bool matches(const Key& key, const Key& pattern) {
  for (int i = 0; i < kMaxDim; ++i)
    if (pattern[i] != 0 && pattern[i] != key[i]) return false;
  return true;
}

struct Database {
  tvbHandle* handle = nullptr;
  std::vector<std::string> labels;      // by number - 1, spelled as first registered
  std::map<std::string, int> numbers;   // by lower-case label
  std::vector<std::string> texts{" "};  // element texts by number

  int find(const std::string& label) const {
    auto it = numbers.find(lowered(trimmed(label)));
    return it == numbers.end() ? 0 : it->second;
  }
  int findOrAdd(const std::string& label) {
    if (int number = find(label)) return number;
    labels.push_back(trimmed(label));
    return numbers[lowered(labels.back())] = static_cast<int>(labels.size());
  }
  int intern(const std::string& text) {
    auto it = std::find(texts.begin(), texts.end(), text);
    if (it != texts.end()) return static_cast<int>(it - texts.begin());
    texts.push_back(text);
    return static_cast<int>(texts.size()) - 1;
  }
};

struct Symbol {
  tvbSymbol* handle;
  Database* db;
  int dim, type;
  std::string name;
  Records records;
  int valueCount() const { return type == TRV_DT_VAR ? 5 : 1; }
};

// A record handle as the model sees it: it stands on its key while that key is stored, until it has been
// moved past the last record; a slice handle (sliced, also without dimensions) visits matching records only.
struct Handle {
  tvbRecordHandle* rec;
  Symbol* symbol;
  Key key;
  bool sliced = false;
  Key pattern{};  // per position a label number, 0 for a free position
  bool pastEnd = false;

  bool valid() const { return !pastEnd && symbol->records.count(key) > 0; }
  tvbHandle* db() const { return symbol->db->handle; }
  std::string stale() const { return format(msg::kStaleHandle, symbol->name.c_str()); }
  // Where a step would land, or end(); the handle must stand on a record.
  Records::const_iterator target(bool forward) const {
    const Records& records = symbol->records;
    auto it = records.find(key);
    if (forward) {
      for (++it; it != records.end() && sliced && !matches(it->first, pattern);) ++it;
      return it;
    }
    while (it != records.begin()) {
      if (--it; !sliced || matches(it->first, pattern)) return it;
    }
    return records.end();
  }
};

class Driver {
 public:
  explicit Driver(Choices& choices) : choices_(choices) {}

  ~Driver() {
    for (const Handle& h : handles_) c__tvbfreesymboliterator(h.db(), h.rec);
    for (Database& d : dbs_) tvbfree(&d.handle);
  }

  // Two databases with two symbols of each kind: sets, parameters and free variables of 0 to 3 dimensions.
  void setUp() {
    for (Database& d : dbs_) {
      char message[TRV_SSSIZE];
      check(tvbcreate(&d.handle, message, sizeof message) == 1, message);
      for (int dim = 0; dim <= kMaxDim; ++dim) {
        for (int type : {TRV_DT_SET, TRV_DT_PAR, TRV_DT_VAR}) {
          for (char twin : {'a', 'b'}) {
            if (type == TRV_DT_SET && dim == 0) continue;
            Symbol s{nullptr, &d, dim, type, "spv"[type] + std::to_string(dim) + twin, {}};
            const int userInfo = type == TRV_DT_VAR ? TRV_VAR_FREE : 0;
            check(c__tvbaddsymbol(d.handle, s.name.c_str(), dim, type, userInfo, "", &s.handle) == 1, "addsymbol");
            symbols_.push_back(std::move(s));
          }
        }
      }
    }
    focus_ = &symbols_[0];
  }

  // One operation, mostly on the focus symbol or on a handle, then the comparison.
  void step(int number) {
    using Run = void (*)(Driver&, Symbol&, Handle*);
    struct Operation {
      const char* name;
      int weight;
      bool onHandle;  // else, when no handle is there, the step makes one
      bool wholesale;
      Run run;
    };
    static const Operation kOperations[] = {
        {"add by labels", 12, false, false, [](Driver& d, Symbol& s, Handle*) { d.addByLabels(s); }},
        {"add by numbers", 12, false, false, [](Driver& d, Symbol& s, Handle*) { d.addByNumbers(s); }},
        {"find", 8, false, false, [](Driver& d, Symbol& s, Handle*) { d.find(s); }},
        {"find first or last", 4, false, false, [](Driver& d, Symbol& s, Handle*) { d.findEnd(s, d.coin()); }},
        {"slice", 4, false, false, [](Driver& d, Symbol& s, Handle*) { d.findSlice(s, d.coin()); }},
        {"move", 12, true, false, [](Driver& d, Symbol&, Handle* h) { d.move(*h, d.coin()); }},
        {"has next or previous", 4, true, false, [](Driver& d, Symbol&, Handle* h) { d.has(*h, d.coin()); }},
        {"same record", 4, true, false, [](Driver& d, Symbol&, Handle* h) { d.same(*h, d.anyHandle()); }},
        {"copy handle", 4, true, false, [](Driver& d, Symbol&, Handle* h) { d.copyHandle(*h); }},
        {"delete", 8, true, false, [](Driver& d, Symbol&, Handle* h) { d.deleteRecord(*h); }},
        {"delete a run", 4, true, false,
         [](Driver& d, Symbol&, Handle* h) {
           for (int n = d.choices_.below(400); n >= 0 && h->valid(); --n) d.deleteRecord(*h);
         }},
        {"read", 4, true, false, [](Driver& d, Symbol&, Handle* h) { d.read(*h); }},
        {"write", 4, true, false, [](Driver& d, Symbol&, Handle* h) { d.write(*h); }},
        {"free", 4, true, false,
         [](Driver& d, Symbol&, Handle* h) { d.release(static_cast<size_t>(h - d.handles_.data())); }},
        {"clear", 1, false, true, [](Driver& d, Symbol& s, Handle*) { d.clear(s); }},
        {"copy symbol", 1, false, true, [](Driver& d, Symbol& s, Handle*) { d.copySymbol(s); }},
        {"fill", 1, false, true, [](Driver& d, Symbol& s, Handle*) { d.fill(s); }},
        {"thin", 1, false, true, [](Driver& d, Symbol& s, Handle*) { d.thin(s); }},
    };
    static const int kTotalWeight = [] {
      int total = 0;
      for (const Operation& o : kOperations) total += o.weight;
      return total;
    }();

    if (choices_.below(32) == 0) focus_ = &symbols_[choices_.below(static_cast<int>(symbols_.size()))];
    int pick = choices_.below(kTotalWeight);
    const Operation* o = kOperations;
    while (pick >= o->weight) pick -= (o++)->weight;
    if (o->onHandle && handles_.empty()) o = &kOperations[3];  // find first or last
    operation = o->name;
    o->run(*this, *focus_, handles_.empty() ? nullptr : &anyHandle());
    compareAfterStep(o->wholesale || number % 32 == 0);
  }

  void compareEverySymbol() {
    operation = "final walks";
    for (Symbol& s : symbols_) {
      walk(s, true);
      walk(s, false);
    }
  }

  int64_t largestVariable = 0;
  const char* operation = "setting up";

 private:
  bool coin() { return choices_.below(2) == 0; }
  Handle& anyHandle() { return handles_[choices_.below(static_cast<int>(handles_.size()))]; }

  // Label number `label` of the pool (or an absent one), in any letter case, sometimes with trailing blanks.
  std::string spell(int label) {
    std::string text = label < kPoolLabels ? "k" + std::to_string(label) : "gone" + std::to_string(label - kPoolLabels);
    if (choices_.below(4) == 0) text[0] = static_cast<char>(std::toupper(text[0]));
    if (choices_.below(4) == 0) text += "  ";
    return text;
  }

  // below(n): a number in [0, n).
  template <class Below>
  static Values randomValues(const Symbol& s, Below below) {
    Values values{};
    for (int i = 0; i < s.valueCount(); ++i) values[i] = kValues[below(std::size(kValues))];
    if (s.type == TRV_DT_SET) values[0] = below(2);  // 0: no element text
    return values;
  }

  // The out argument of the operations that make a handle; before the call it holds a value that is no
  // handle, which the operation must replace (by null on failure).
  tvbRecordHandle** fresh() { return &(out_ = reinterpret_cast<tvbRecordHandle*>(&unset_)); }

  void expectFailure(tvbHandle* db, int rc, const std::string& message) {
    char error[TRV_SSSIZE];
    c__tvbgetlasterror(db, error);
    if (rc != 0) throw Mismatch{"succeeded where the model expects: " + message};
    if (error != message) throw Mismatch{"failed with \"" + std::string(error) + "\", not \"" + message + "\""};
    check(out_ == nullptr, "a failed operation left a handle");
  }

  // The record under rec has this key and these values.
  void expectRecord(tvbRecordHandle* rec, const Symbol& s, const Key& key, const Values& values) {
    int uels[GLOBAL_MAX_INDEX_DIM];
    double read[5];
    const int rc = c__tvbgetrecordraw(s.db->handle, rec, s.dim, uels, read);
    if (rc == 1 && keyOf(uels, s.dim) == key && std::equal(read, read + s.valueCount(), values.begin())) return;
    throw Mismatch{"a handle of " + s.name + " reads " + keyText(uels, rc ? s.dim : 0) + ", not " +
                   keyText(key.data(), s.dim) + " or other values"};
  }

  // Takes the handle that the last operation left in out_, on key of s; the oldest goes when all places are
  // taken (key is a copy: it may be a handle's).
  void adopt(Symbol& s, Key key, const Key* pattern = nullptr) {
    check(out_ != nullptr && out_ != reinterpret_cast<tvbRecordHandle*>(&unset_), "no handle made");
    if (handles_.size() == kMaxHandles) release(0);
    handles_.push_back(Handle{out_, &s, key, pattern != nullptr, pattern ? *pattern : Key{}});
    out_ = nullptr;
  }

  void release(size_t index) {
    check(c__tvbfreesymboliterator(handles_[index].db(), handles_[index].rec) == 1, "free failed");
    handles_.erase(handles_.begin() + static_cast<long>(index));
  }

  void addByLabels(Symbol& s) {
    std::vector<std::string> labels(s.dim);
    for (std::string& label : labels) label = spell(choices_.below(kPoolLabels));
    const int rc = c__tvbaddrecord(s.db->handle, s.handle, pointers(labels).data(), fresh());
    Key key{};
    for (int i = 0; i < s.dim; ++i) key[i] = s.db->findOrAdd(labels[i]);
    if (s.records.count(key)) {
      return expectFailure(s.db->handle, rc, format(msg::kRecordExists, keyText(labels).c_str(), s.name.c_str()));
    }
    check(rc == 1, "adding a record by labels failed");
    s.records[key] = s.type == TRV_DT_VAR ? kFreeVariable : Values{};
    adopt(s, key);
  }

  // Label numbers mostly known, sometimes 0 or one past the last.
  void addByNumbers(Symbol& s) {
    const int count = static_cast<int>(s.db->labels.size());
    int uels[GLOBAL_MAX_INDEX_DIM];
    for (int i = 0; i < s.dim; ++i) {
      const int pick = choices_.below(16);
      uels[i] = pick == 0 ? 0 : pick == 1 ? count + 1 : 1 + choices_.below(std::max(count, 1));
    }
    Values values = randomValues(s, [&](int n) { return choices_.below(n); });
    const char* text = kTexts[choices_.below(std::size(kTexts))];
    const int rc = c__tvbaddrecordraw(s.db->handle, s.handle, uels, values.data(), text);
    for (int i = 0; i < s.dim; ++i) {
      if (uels[i] < 1) return expectFailure(s.db->handle, rc, format(msg::kUelNotPositive, s.name.c_str(), uels[i]));
      if (uels[i] > count) {
        return expectFailure(s.db->handle, rc, format(msg::kUelUnknown, s.name.c_str(), uels[i], count));
      }
    }
    check(rc == 1, "adding a record by numbers failed");
    if (s.type == TRV_DT_SET && values[0] != 0) values[0] = s.db->intern(text);
    s.records[keyOf(uels, s.dim)] = values;
  }

  void find(Symbol& s) {
    std::vector<std::string> labels(s.dim);
    for (std::string& label : labels) label = spell(choices_.below(kPoolLabels + kAbsentLabels));
    const int rc = c__tvbfindrecord(s.db->handle, s.handle, pointers(labels).data(), fresh());
    const char* name = s.name.c_str();
    if (s.records.empty()) return expectFailure(s.db->handle, rc, format(msg::kSymbolEmpty, name, name));
    Key key{};
    for (int i = 0; i < s.dim; ++i) {
      labels[i] = trimmed(labels[i]);
      key[i] = s.db->find(labels[i]);
      if (key[i] == 0) {
        return expectFailure(s.db->handle, rc, format(msg::kElementNotFound, labels[i].c_str(), i + 1, name));
      }
    }
    if (!s.records.count(key)) {
      return expectFailure(s.db->handle, rc, format(msg::kRecordNotFound, keyText(labels).c_str(), name));
    }
    adopt(s, key);
  }

  void findEnd(Symbol& s, bool first) {
    const int rc = (first ? c__tvbfindfirstrecord : c__tvbfindlastrecord)(s.db->handle, s.handle, fresh());
    if (s.records.empty()) return expectFailure(s.db->handle, rc, format(msg::kNoRecordInSymbol, s.name.c_str()));
    adopt(s, first ? s.records.begin()->first : s.records.rbegin()->first);
  }

  // A slice of free positions (" ", or blanks that are cut to one) and labels; half the time its handle then
  // walks to the end of the slice.
  void findSlice(Symbol& s, bool first) {
    std::vector<std::string> slice(s.dim);
    for (std::string& text : slice) {
      text = coin() ? std::string(1 + choices_.below(3), ' ') : spell(choices_.below(kPoolLabels + kAbsentLabels));
    }
    const int rc = (first ? c__tvbfindfirstrecordslice : c__tvbfindlastrecordslice)(s.db->handle, s.handle,
                                                                                    pointers(slice).data(), fresh());
    const char* name = s.name.c_str();
    if (s.records.empty()) return expectFailure(s.db->handle, rc, format(msg::kNoRecordInSymbol, name));
    Key pattern{};
    for (int i = 0; i < s.dim; ++i) {
      slice[i] = trimmed(slice[i]);
      pattern[i] = slice[i] == " " ? 0 : s.db->find(slice[i]);
      if (slice[i] != " " && pattern[i] == 0) {
        return expectFailure(s.db->handle, rc, format(msg::kSliceElementNotFound, slice[i].c_str(), i + 1, name));
      }
    }
    auto matching = [&](const auto& record) { return matches(record.first, pattern); };
    auto match = std::find_if(s.records.begin(), s.records.end(), matching);
    if (!first) {
      auto last = std::find_if(s.records.rbegin(), s.records.rend(), matching);
      match = last == s.records.rend() ? s.records.end() : std::prev(last.base());
    }
    if (match == s.records.end()) {
      return expectFailure(s.db->handle, rc, format(msg::kNoRecordForSlice, keyText(slice).c_str(), name));
    }
    adopt(s, match->first, &pattern);
    Handle& h = handles_.back();
    if (coin()) {
      while (move(h, first)) expectRecord(h.rec, s, h.key, s.records.at(h.key));
    }
  }

  // One step of h; whether it moved.
  bool move(Handle& h, bool forward) {
    const int rc = (forward ? c__tvbrecordmovenext : c__tvbrecordmoveprev)(h.db(), h.rec);
    const char* name = h.symbol->name.c_str();
    if (!h.valid()) return expectFailure(h.db(), rc, h.stale()), false;
    if (!forward && h.key == h.symbol->records.begin()->first) {
      return expectFailure(h.db(), rc, format(msg::kFirstInSymbol, name)), false;
    }
    auto target = h.target(forward);
    if (target == h.symbol->records.end()) {
      const char* message = !h.sliced ? msg::kLastInSymbol : forward ? msg::kLastInSlice : msg::kFirstInSlice;
      return expectFailure(h.db(), rc, format(message, name)), false;
    }
    check(rc == 1, "a step failed");
    h.key = target->first;
    return true;
  }

  void has(const Handle& h, bool forward) {
    const int expected = h.valid() && h.target(forward) != h.symbol->records.end();
    check((forward ? c__tvbrecordhasnext : c__tvbrecordhasprev)(h.db(), h.rec) == expected, "has differs");
  }

  void same(const Handle& h, const Handle& other) {
    const bool same = &h == &other || (h.symbol == other.symbol && h.valid() && other.valid() && h.key == other.key);
    check(c__tvbsamerecord(h.db(), h.rec, other.rec) == same, "same record differs");
  }

  // The copy stands on the same record, without the slice.
  void copyHandle(const Handle& h) {
    const int rc = c__tvbcopysymboliterator(h.db(), h.rec, fresh());
    if (!h.valid()) return expectFailure(h.db(), rc, h.stale());
    adopt(*h.symbol, h.key);
  }

  // The handle moves on to the record that followed, or past the end.
  void deleteRecord(Handle& h) {
    const int rc = c__tvbdeleterecord(h.db(), h.rec);
    if (!h.valid()) return expectFailure(h.db(), rc, h.stale());
    check(rc == 1, "deleting failed");
    Records& records = h.symbol->records;
    auto following = records.erase(records.find(h.key));
    h.pastEnd = following == records.end();
    if (!h.pastEnd) h.key = following->first;
  }

  // Labels, element texts and values one by one.
  void read(const Handle& h) {
    const Symbol& s = *h.symbol;
    char buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE];
    char* labels[GLOBAL_MAX_INDEX_DIM];
    for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) labels[i] = buffers[i];
    const int rc = c__tvbgetkeys(h.db(), h.rec, s.dim, labels);
    if (!h.valid()) return expectFailure(h.db(), rc, h.stale());
    check(rc == 1, "reading labels failed");
    for (int i = 0; i < s.dim; ++i) check(labels[i] == s.db->labels[h.key[i] - 1], "labels differ");
    const Values& values = s.records.at(h.key);
    if (s.type == TRV_DT_SET) {
      char text[TRV_SSSIZE];
      const int number = static_cast<int>(values[0]);
      check(c__tvbgetelemtext(h.db(), h.rec, text) == 1 && text == (number > 0 ? s.db->texts[number] : ""),
            "element texts differ");
      return;
    }
    int (*const getters[])(tvbHandle*, tvbRecordHandle*, double*) = {c__tvbgetlevel, c__tvbgetmarginal, c__tvbgetlower,
                                                                     c__tvbgetupper, c__tvbgetscale};
    for (int field = 0; field < s.valueCount(); ++field) {
      double value = -1;
      check(getters[field](h.db(), h.rec, &value) == 1 && value == values[field], "a value differs");
    }
  }

  // An element text of a set record, or one value of a parameter or variable record.
  void write(const Handle& h) {
    Symbol& s = *h.symbol;
    int rc;
    int field = 0;
    double value = kValues[choices_.below(std::size(kValues))];
    const char* text = kTexts[choices_.below(std::size(kTexts))];
    if (s.type == TRV_DT_SET) {
      rc = c__tvbsetelemtext(h.db(), h.rec, text);
      if (h.valid()) value = *text == '\0' ? 0 : s.db->intern(text);
    } else {
      int (*const setters[])(tvbHandle*, tvbRecordHandle*, double) = {c__tvbsetlevel, c__tvbsetmarginal, c__tvbsetlower,
                                                                      c__tvbsetupper, c__tvbsetscale};
      field = choices_.below(s.valueCount());
      rc = setters[field](h.db(), h.rec, value);
    }
    if (!h.valid()) return expectFailure(h.db(), rc, h.stale());
    check(rc == 1, "writing failed");
    s.records.at(h.key)[field] = value;
  }

  void clear(Symbol& s) {
    check(c__tvbclearsymbol(s.db->handle, s.handle) == 1, "clearing failed");
    s.records.clear();
  }

  // Onto target from a symbol of the same kind, mostly: of either database, target itself included.
  void copySymbol(Symbol& target) {
    std::vector<Symbol*> alike;
    for (Symbol& s : symbols_) {
      if (choices_.below(4) == 0 || (s.dim == target.dim && s.type == target.type)) alike.push_back(&s);
    }
    const Symbol& source = *alike[choices_.below(static_cast<int>(alike.size()))];
    Database& to = *target.db;
    const int rc = c__tvbcopysymbol(to.handle, target.handle, source.handle);
    if (source.dim != target.dim) return expectFailure(to.handle, rc, msg::kInconsistentDims);
    if (source.type != target.type) return expectFailure(to.handle, rc, msg::kInconsistentTypes);
    check(rc == 1, "copying a symbol failed");
    if (&source == &target) return;
    target.records.clear();
    for (const auto& [stored, storedValues] : source.records) {
      Key key = stored;
      Values values = storedValues;
      // Between databases labels are matched by text and element texts interned anew.
      if (source.db != target.db) {
        for (int i = 0; i < source.dim; ++i) key[i] = to.findOrAdd(source.db->labels[key[i] - 1]);
        if (source.type == TRV_DT_SET) values[0] = to.intern(source.db->texts[static_cast<int>(values[0])]);
      }
      target.records[key] = values;
    }
  }

  // Many records by numbers, keys ascending, descending or in random order, after registering every label.
  // Keys and values come from a generator started from one choice, so that a short fuzz input builds large
  // stores too.
  void fill(Symbol& s) {
    for (int label = 0; label < kPoolLabels; ++label) {
      const std::string text = spell(label);
      if (s.db->find(text) != 0) continue;
      int number = 0;
      check(c__tvbmergeuel(s.db->handle, text.c_str(), &number) == 1 && number == s.db->findOrAdd(text),
            "label numbers differ");
    }
    std::mt19937 generator(choices_.below(65536));
    auto below = [&](int n) { return static_cast<int>(generator() % static_cast<unsigned>(n)); };
    size_t total = 0;
    for (const Symbol& other : symbols_) total += other.records.size();
    std::vector<Key> keys(std::min<size_t>(1 + below(kMaxFill), kMaxRecords - std::min(total, kMaxRecords)));
    for (Key& key : keys)
      for (int i = 0; i < s.dim; ++i) key[i] = 1 + below(kPoolLabels);
    const int order = choices_.below(3);
    if (order > 0) std::sort(keys.begin(), keys.end());
    if (order > 1) std::reverse(keys.begin(), keys.end());
    for (const Key& key : keys) {
      Values values = randomValues(s, below);
      check(c__tvbaddrecordraw(s.db->handle, s.handle, key.data(), values.data(), "filled") == 1, "filling failed");
      if (s.type == TRV_DT_SET && values[0] != 0) values[0] = s.db->intern("filled");
      s.records[key] = values;
    }
  }

  // Deletes records during a walk, each with the same chance (a quarter to all of them).
  void thin(Symbol& s) {
    if (s.records.empty()) return;
    const int share = 1 + choices_.below(4);
    findEnd(s, true);
    Handle& h = handles_.back();
    while (!h.pastEnd) {
      if (choices_.below(4) < share) {
        deleteRecord(h);
      } else if (!move(h, true)) {
        break;
      }
      if (!h.pastEnd) expectRecord(h.rec, s, h.key, s.records.at(h.key));
    }
  }

  // Every record of s in order, then the step past the end fails.
  void walk(Symbol& s, bool forward) {
    if (s.records.empty()) return;
    findEnd(s, forward);
    tvbRecordHandle* rec = handles_.back().rec;
    auto compare = [&](auto it, auto end) {
      while (it != end) {
        expectRecord(rec, s, it->first, it->second);
        const int rc = (forward ? c__tvbrecordmovenext : c__tvbrecordmoveprev)(s.db->handle, rec);
        if (++it != end) {
          check(rc == 1, "a walk ended early");
        } else {
          expectFailure(s.db->handle, rc, format(forward ? msg::kLastInSymbol : msg::kFirstInSymbol, s.name.c_str()));
        }
      }
    };
    forward ? compare(s.records.begin(), s.records.end()) : compare(s.records.rbegin(), s.records.rend());
    release(handles_.size() - 1);
  }

  // Record counts of every symbol, the records under every handle, and the focus symbol walked when it is
  // small or has changed wholesale (a large one at intervals, every symbol at the end).
  void compareAfterStep(bool walkFocus) {
    for (const Symbol& s : symbols_) {
      int count = -1;
      double unused;
      char text[TRV_SSSIZE];
      c__tvbsymbolinfo(s.db->handle, s.handle, TRV_SYMINFO_RECORD_COUNT, &count, &unused, text);
      if (count != static_cast<int>(s.records.size())) throw Mismatch{"record counts of " + s.name + " differ"};
      if (s.type == TRV_DT_VAR) largestVariable = std::max<int64_t>(largestVariable, count);
    }
    for (const Handle& h : handles_) {
      if (h.valid()) {
        expectRecord(h.rec, *h.symbol, h.key, h.symbol->records.at(h.key));
        continue;
      }
      int uels[GLOBAL_MAX_INDEX_DIM];
      double values[5];
      expectFailure(h.db(), c__tvbgetrecordraw(h.db(), h.rec, h.symbol->dim, uels, values), h.stale());
    }
    if (walkFocus || focus_->records.size() <= 64) walk(*focus_, coin());
  }

  Choices& choices_;
  Database dbs_[2];
  std::vector<Symbol> symbols_;
  std::vector<Handle> handles_;
  Symbol* focus_ = nullptr;  // the symbol most operations work on, for a while
  tvbRecordHandle* out_ = nullptr;
  char unset_ = 0;
};

}  // namespace

DifferentialRun runRecordDifferential(Choices& choices, int maxSteps) {
  DifferentialRun run;
  Driver driver(choices);
  try {
    driver.setUp();
    for (; run.steps < maxSteps && !choices.done(); ++run.steps) driver.step(run.steps);
    driver.compareEverySymbol();
  } catch (const Mismatch& mismatch) {
    run.mismatch = "step " + std::to_string(run.steps) + " (" + driver.operation + "): " + mismatch.what;
  }
  run.largestVariable = driver.largestVariable;
  return run;
}

}  // namespace tvbtest
