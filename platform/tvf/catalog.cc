#include "catalog.h"

#include <cctype>

namespace tvf {

std::string FoldCase(std::string_view s) {
  std::string folded(s);
  for (char &c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::string_view DomainName(const SymbolEntry &symbol, int i) {
  if (symbol.domain_kind == DomainKind::kNone) return "*";
  std::string_view rest = symbol.domain_names;
  for (; i > 0; --i) {
    size_t end = rest.find('\0');
    if (end == std::string_view::npos) return {};
    rest.remove_prefix(end + 1);
  }
  return rest.substr(0, rest.find('\0'));
}

int Catalog::FindSymbol(std::string_view name) const {
  auto it = symbol_by_name.find(FoldCase(name));
  return it == symbol_by_name.end() ? -1 : it->second;
}

void Catalog::AddSymbol(SymbolEntry entry) {
  // Both or neither: a name in the index must always lead to a symbol.
  std::string folded = FoldCase(entry.name);
  symbols.push_back(std::move(entry));
  try {
    symbol_by_name.emplace(std::move(folded), static_cast<int>(symbols.size()) - 1);
  } catch (...) {
    symbols.pop_back();
    throw;
  }
}

void Catalog::Clear() {
  file_name.clear();
  format_version = 0;
  producer.clear();
  labels.Clear();
  texts.Clear();
  symbols.clear();
  symbol_by_name.clear();
}

}  // namespace tvf
