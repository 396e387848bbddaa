// tvbInitFromDB: fills an empty database with an independent copy of another: labels with their numbers,
// symbols with their numbers, records, element texts, aliases and domains. Symbols of the source that still
// lie in its TVF file are loaded there first.
#include <algorithm>

#include "api/operations.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/trace.h"
#include "exchange/messages.h"
#include "exchange/symbol_entry.h"

namespace tvb::exchange {
namespace {

Status refuse(const char* message) {
  trace(1, "%s", message);
  return Status::error("%s", message);
}

// Element texts: set records keep their numbers, so the target takes the source's table over. A target
// that already holds texts of its own (left by a closed, empty file) maps each number instead.
class TextNumbers {
 public:
  TextNumbers(ElementTexts& target, const ElementTexts& source) : target_(target), source_(source) {
    identical_ = target.count() == 1;
    if (identical_) target = source;
  }
  double map(double number) {
    if (identical_ || number == 0) return number;
    int nr = number >= 0 && number < 2147483647.0 ? static_cast<int>(number) : -1;
    return target_.intern(source_.text(nr));
  }

 private:
  ElementTexts& target_;
  const ElementTexts& source_;
  bool identical_;
};

void copyRecords(const tvbSymbol& from, tvbSymbol* to, TextNumbers* texts) {
  const RecordStore& source = *from.records;
  RecordStore& target = *to->records;
  const int valueCount = source.valueCount();
  const bool set = from.type == TRV_DT_SET;
  int key[GLOBAL_MAX_INDEX_DIM];
  for (auto p = source.first(); !p.isEnd(); p = source.next(p)) {
    source.key(p, key);
    double* values = target.valuesToWrite(key);
    std::copy_n(source.values(p), valueCount, values);
    if (set) values[0] = texts->map(values[0]);
  }
}

// The target's symbol that bears the name of a source symbol.
tvbSymbol* counterpart(const DatabaseCore& target, const tvbSymbol* sym) {
  if (sym->isUniverse()) return target.symbols.universe();
  return target.symbols.find(sym->name);
}

// Alias targets and domains, once every symbol exists (a set may come after its alias or its users).
void linkSymbols(const DatabaseCore& target, const DatabaseCore& source) {
  for (size_t k = 0; k < source.symbols.all().size(); ++k) {
    const tvbSymbol& from = *source.symbols.all()[k];
    tvbSymbol* to = target.symbols.all()[k].get();
    if (from.type == TRV_DT_ALIAS) {
      if (tvbSymbol* set = counterpart(target, from.aliasOf)) to->aliasOf = set;
      continue;
    }
    for (int i = 0; i < from.dim; ++i) {
      tvbSymbol* same = from.domains[i] ? counterpart(target, from.domains[i]) : nullptr;
      if (!same) {
        to->domainNames[i] = from.domains[i] ? from.domains[i]->name : from.domainNames[i];
      } else {
        to->domains[i] = same;
        if (!same->isUniverse()) same->usedAsDomain = true;
      }
    }
  }
}

Status initFromDb(DatabaseCore& target, DatabaseCore& source) {
  trace(1, "%s", traces::kEnterInitFromDb);
  if (target.labels.count() > 0) return refuse(msg::kTargetHasLabels);
  if (!target.symbols.empty()) return refuse(msg::kTargetHasSymbols);
  const InitFrom initFrom = target.dataSource.initFrom();
  if (initFrom != InitFrom::FROM_NOSOURCE && initFrom != InitFrom::FROM_MEMORY) return refuse(msg::kTargetInitialized);
  target.dataSource.noteFilledInMemory();

  for (int i = 1; i <= source.labels.count(); ++i) target.labels.append(source.labels.view(i));
  TextNumbers texts(target.elemTexts, source.elemTexts);

  for (const auto& owned : source.symbols.all()) {
    tvbSymbol* from = owned.get();
    tvbSymbol* to = target.symbols.enter(
        target.symbols.make(from->name, from->text, from->dim, from->type, from->userInfo, from->number));
    if (from->type == TRV_DT_ALIAS) continue;  // aliases carry no records
    if (!from->loaded) {
      // Only a file can still be read; a symbol waiting in a model or a host program is copied empty.
      if (source.dataSource.initFrom() != InitFrom::FROM_TVF) continue;
      TVB_RETURN_IF_FAILED(source.dataSource.load(from));
    }
    copyRecords(*from, to, &texts);
  }
  linkSymbols(target, source);
  return Status();
}

}  // namespace
}  // namespace tvb::exchange

int tvbInitFromDB(tvbHandle* ptvb, tvbHandle* ptvbsrc) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(ptvbsrc != NULL);
  return tvb::guarded(ptvb, "tvbInitFromDB",
                      [&] { return tvb::exchange::initFromDb(tvb::coreOf(ptvb), tvb::coreOf(ptvbsrc)); });
}
