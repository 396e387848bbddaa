#include "directory_codec.h"

#include <climits>

#include "coding.h"
#include "file_format.h"
#include "record_format.h"

namespace tvf {
namespace {

// The fewest bytes that one entry of each table takes, to refuse counts that the section cannot hold
// before anything is allocated for them.
constexpr size_t kMinLabelBytes = 1;
constexpr size_t kMinTextBytes = 1;
constexpr size_t kMinSymbolBytes = 1 + 1 + 1 + 4 + 1 + 1 + 8 + 8 + 8 + 4;

bool CheckSymbol(const SymbolEntry &s, int symbol_count, int self, uint64_t first_block, uint64_t blocks_end,
                 const char **problem) {
  if (s.name.empty() || s.name.size() > kMaxNameLength) {
    *problem = "a symbol name is empty or longer than 63 characters";
    return false;
  }
  if (s.dim < 0 || s.dim > kMaxDim) {
    *problem = "a symbol has more than 20 dimensions";
    return false;
  }
  if (s.type < kSet || s.type > kAlias) {
    *problem = "a symbol has an unknown type";
    return false;
  }
  if (s.type == kAlias) {
    if (s.user_info < 0 || s.user_info > symbol_count || s.user_info == self + 1) {
      *problem = "an alias refers to a symbol that does not exist";
      return false;
    }
    if (s.record_count != 0 || s.block_length != 0 || s.chunk_count != 0 || s.domain_kind != DomainKind::kNone) {
      *problem = "an alias has records or a domain of its own";
      return false;
    }
    return true;
  }
  if (s.record_count > static_cast<uint64_t>(INT_MAX) || (s.dim == 0 && s.record_count > 1)) {
    *problem = "a symbol has an impossible record count";
    return false;
  }
  if (s.record_count == 0) {
    if (s.block_length != 0 || s.chunk_count != 0) {
      *problem = "a symbol without records has a record block";
      return false;
    }
    return true;
  }
  // Each chunk holds a header and, once decompressed, at most kMaxChunkRawSize bytes of records of at
  // least one byte each.
  if (s.chunk_count == 0 || s.block_length / kChunkHeaderSize < s.chunk_count ||
      s.record_count > uint64_t{s.chunk_count} * kMaxChunkRawSize) {
    *problem = "a symbol's record count does not fit its record block";
    return false;
  }
  if (s.block_offset < first_block || s.block_offset > blocks_end || s.block_length > blocks_end - s.block_offset) {
    *problem = "a record block lies outside the file";
    return false;
  }
  return true;
}

}  // namespace

void EncodeDirectory(const Catalog &catalog, std::string *out) {
  PutShortString(out, catalog.producer);
  PutFixed32(out, static_cast<uint32_t>(catalog.labels.size()));
  for (int i = 1; i <= catalog.labels.size(); ++i) PutShortString(out, catalog.labels.Get(i));
  PutFixed32(out, static_cast<uint32_t>(catalog.texts.size()));
  for (int i = 1; i <= catalog.texts.size(); ++i) PutShortString(out, catalog.texts.Get(i));
  PutFixed32(out, static_cast<uint32_t>(catalog.symbols.size()));
  for (const SymbolEntry &s : catalog.symbols) {
    PutShortString(out, s.name);
    out->push_back(static_cast<char>(s.dim));
    out->push_back(static_cast<char>(s.type));
    PutFixed32(out, static_cast<uint32_t>(s.user_info));
    PutShortString(out, s.text);
    out->push_back(static_cast<char>(s.domain_kind));
    if (s.domain_kind != DomainKind::kNone) {
      for (int d = 0; d < s.dim; ++d) PutShortString(out, DomainName(s, d));
    }
    PutFixed64(out, s.record_count);
    PutFixed64(out, s.block_offset);
    PutFixed64(out, s.block_length);
    PutFixed32(out, s.chunk_count);
  }
}

bool DecodeDirectory(const char *data, size_t size, uint64_t first_block_offset, uint64_t blocks_end, Catalog *catalog,
                     const char **problem) {
  if (size > UINT32_MAX) {
    *problem = "the directory is larger than 4 GiB";
    return false;
  }
  ByteReader in(data, size);
  *problem = "the directory ends early";
  catalog->producer = std::string(in.GetShortString());

  uint32_t label_count = in.GetFixed32();
  if (!in.ok()) return false;
  if (label_count > in.remaining() / kMinLabelBytes || label_count > static_cast<uint32_t>(INT_MAX)) {
    *problem = "the label count is larger than the directory can hold";
    return false;
  }
  catalog->labels.Reserve(label_count, in.remaining());
  for (uint32_t i = 0; i < label_count; ++i) {
    std::string_view label = in.GetShortString();
    if (!in.ok()) return false;
    if (label.size() > kMaxLabelLength) {
      *problem = "a label is longer than 63 characters";
      return false;
    }
    catalog->labels.Add(label);
  }

  uint32_t text_count = in.GetFixed32();
  if (!in.ok()) return false;
  if (text_count > in.remaining() / kMinTextBytes || text_count > static_cast<uint32_t>(INT_MAX)) {
    *problem = "the text count is larger than the directory can hold";
    return false;
  }
  catalog->texts.Reserve(text_count, in.remaining());
  for (uint32_t i = 0; i < text_count; ++i) {
    std::string_view text = in.GetShortString();
    if (!in.ok()) return false;
    catalog->texts.Add(text);
  }

  uint32_t symbol_count = in.GetFixed32();
  if (!in.ok()) return false;
  if (symbol_count > in.remaining() / kMinSymbolBytes) {
    *problem = "the symbol count is larger than the directory can hold";
    return false;
  }
  catalog->symbols.reserve(symbol_count);
  for (uint32_t k = 0; k < symbol_count; ++k) {
    SymbolEntry s;
    s.name = std::string(in.GetShortString());
    s.dim = in.GetByte();
    s.type = in.GetByte();
    s.user_info = static_cast<int32_t>(in.GetFixed32());
    s.text = std::string(in.GetShortString());
    uint8_t kind = in.GetByte();
    if (!in.ok()) return false;
    if (kind > static_cast<uint8_t>(DomainKind::kChecked)) {
      *problem = "a symbol has an unknown kind of domain";
      return false;
    }
    s.domain_kind = static_cast<DomainKind>(kind);
    if (s.domain_kind != DomainKind::kNone) {
      if (s.dim > kMaxDim) {
        *problem = "a symbol has more than 20 dimensions";
        return false;
      }
      for (int d = 0; d < s.dim; ++d) {
        s.domain_names.append(in.GetShortString());
        s.domain_names.push_back('\0');
      }
    }
    s.record_count = in.GetFixed64();
    s.block_offset = in.GetFixed64();
    s.block_length = in.GetFixed64();
    s.chunk_count = in.GetFixed32();
    if (!in.ok()) return false;
    if (!CheckSymbol(s, static_cast<int>(symbol_count), static_cast<int>(k), first_block_offset, blocks_end, problem)) {
      return false;
    }
    if (catalog->FindSymbol(s.name) >= 0) {
      *problem = "two symbols have the same name";
      return false;
    }
    catalog->AddSymbol(std::move(s));
  }
  if (in.remaining() != 0) {
    *problem = "the directory has bytes after its last symbol";
    return false;
  }
  // An alias must stand for a set of the file (or the Universe), not for another alias.
  for (const SymbolEntry &s : catalog->symbols) {
    if (s.type == kAlias && s.user_info == 0 && s.dim != 1) {
      *problem = "an alias of the Universe is not one-dimensional";
      return false;
    }
    if (s.type == kAlias && s.user_info > 0) {
      const SymbolEntry &target = catalog->symbols[s.user_info - 1];
      if (target.type != kSet || target.dim != s.dim) {
        *problem = "an alias refers to a symbol that is not a set of its dimension";
        return false;
      }
    }
  }
  return true;
}

}  // namespace tvf
