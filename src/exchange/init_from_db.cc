// tvbInitFromDB: fills an empty database with an independent copy of another: labels with their numbers,
// symbols with their numbers, records, element texts, aliases and domains. Symbols of the source that still
// lie in its TVF file are loaded there first.
#include <algorithm>

#include "api/operations.h"
#include "core/database.h"
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
  TextNumbers(tvbHandle* target, const tvbHandle* source) : target_(target), source_(source) {
    identical_ = target->elemTexts.count() == 1;
    if (identical_) target->elemTexts = source->elemTexts;
  }
  double map(double number) {
    if (identical_ || number == 0) return number;
    int nr = number >= 0 && number < 2147483647.0 ? static_cast<int>(number) : -1;
    return target_->elemTexts.intern(source_->elemTexts.text(nr));
  }

 private:
  tvbHandle* target_;
  const tvbHandle* source_;
  bool identical_;
};

void copyRecords(const tvbSymbol& from, tvbSymbol* to, TextNumbers* texts) {
  const RecordStore& source = *from.records;
  RecordStore& target = *to->records;
  const int valueCount = source.valueCount();
  const bool set = from.type == TRV_DT_SET;
  for (auto p = source.first(); !p.isEnd(); p = source.next(p)) {
    double* values = target.values(target.insert(source.key(p)).first);
    std::copy_n(source.values(p), valueCount, values);
    if (set) values[0] = texts->map(values[0]);
  }
}

// The target's symbol that bears the name of a source symbol.
tvbSymbol* counterpart(tvbHandle* target, const tvbSymbol* sym) {
  if (sym->isUniverse()) return target->universe.get();
  auto it = target->symbolMap.find(std::string_view(sym->name));
  return it == target->symbolMap.end() ? nullptr : it->second;
}

// Alias targets and domains, once every symbol exists (a set may come after its alias or its users).
void linkSymbols(tvbHandle* target, const tvbHandle* source) {
  for (size_t k = 0; k < source->symbols.size(); ++k) {
    const tvbSymbol& from = *source->symbols[k];
    tvbSymbol* to = target->symbols[k].get();
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

Status initFromDb(tvbHandle* target, tvbHandle* source) {
  trace(1, "%s", traces::kEnterInitFromDb);
  if (target->labels.count() > 0) return refuse(msg::kTargetHasLabels);
  if (!target->symbols.empty()) return refuse(msg::kTargetHasSymbols);
  if (target->initFrom != FROM_NOSOURCE && target->initFrom != FROM_MEMORY) return refuse(msg::kTargetInitialized);
  target->initFrom = FROM_MEMORY;

  for (int i = 1; i <= source->labels.count(); ++i) target->labels.append(source->labels.view(i));
  TextNumbers texts(target, source);

  for (const auto& owned : source->symbols) {
    tvbSymbol* from = owned.get();
    tvbSymbol* to = enterSymbol(
        target, newSymbol(target, from->name, from->text, from->dim, from->type, from->userInfo, from->number));
    if (from->type == TRV_DT_ALIAS) continue;  // aliases carry no records
    if (!from->loaded) {
      // Only a file can still be read; a symbol waiting in a model or a host program is copied empty.
      if (source->initFrom != FROM_TVF) continue;
      TVB_RETURN_IF_FAILED(loadOnDemand(source, from));
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
  return tvb::guarded(ptvb, "tvbInitFromDB", [&] { return tvb::exchange::initFromDb(ptvb, ptvbsrc); });
}
