#include "core/data_source.h"

#include <memory>
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

namespace {

// A load that did not complete: the records read so far go, so that the symbol is read whole or not at all.
// REQUIRES: sym is not an alias or the Universe.
void unload(tvbSymbol* sym) {
  sym->records->clear();
  sym->loaded = false;
}

}  // namespace

Status DataSource::load(tvbSymbol* sym) {
  if (sym->loaded) return Status::error(msg::kAlreadyLoaded, sym->name.c_str());
  RecordSource* source = serving();
  if (!source && sym->loadFailure) return *sym->loadFailure;
  sym->loaded = true;
  if (!source) return Status::error(msg::kNoLoader, sym->name.c_str(), static_cast<int>(initFrom_));
  StoreSink sink(sym);
  Status status;
  try {
    status = source->read(*sym, sink);
    if (!status.ok()) sym->loadFailure = std::make_unique<Status>(status);
  } catch (...) {
    unload(sym);
    throw;
  }
  if (status.ok()) {
    sym->loadFailure.reset();
  } else {
    unload(sym);
  }
  return status;
}

Status DataSource::stream(const tvbSymbol& sym, RecordSink& sink) {
  RecordSource* source = serving();
  if (source) return source->read(sym, sink);
  if (sym.loadFailure) return *sym.loadFailure;
  if (initFrom_ == InitFrom::FROM_MEMORY) return Status();
  return Status::error(msg::kNoLoader, sym.name.c_str(), static_cast<int>(initFrom_));
}

}  // namespace tvb
