#include "core/data_source.h"

#include <utility>

#include "core/messages.h"

namespace tvb {

void DataSource::attach(std::unique_ptr<RecordSource> source) {
  source_.reset();  // the one replaced goes first: a file it holds open is closed before the next is read
  initFrom_ = source->kind();
  source_ = std::move(source);
}

void DataSource::detach() {
  source_.reset();
  initFrom_ = InitFrom::FROM_MEMORY;
}

Status DataSource::load(tvbSymbol* sym) {
  if (sym->loaded) return Status::error(msg::kAlreadyLoaded, sym->name.c_str());
  sym->loaded = true;  // stays set whether or not the loading succeeds
  RecordSource* source = serving();
  if (!source) return Status::error(msg::kNoLoader, sym->name.c_str(), static_cast<int>(initFrom_));
  StoreSink sink(sym);
  return source->read(*sym, sink);
}

Status DataSource::stream(const tvbSymbol& sym, RecordSink& sink) {
  if (initFrom_ == InitFrom::FROM_MEMORY) return Status();
  RecordSource* source = serving();
  if (!source) return Status::error(msg::kNoLoader, sym.name.c_str(), static_cast<int>(initFrom_));
  return source->read(sym, sink);
}

}  // namespace tvb
