// Fuzzes the TVF reader through the library's C interface: open from memory, every catalog question, every
// symbol's records. The first input byte chooses whether the checksums are repaired before opening, so that
// the fuzzer also reaches the parsers behind them (most mutations are caught by a checksum otherwise).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "coding.h"
#include "crc32c.h"
#include "file_format.h"
#include "tvf.h"

namespace {

// Recomputes the chunk, directory and header checksums where the structure allows finding them.
void RepairChecksums(std::vector<char> &file) {
  if (file.size() < tvf::kHeaderSize || std::memcmp(file.data(), tvf::kMagic, sizeof tvf::kMagic) != 0) return;
  char *h = file.data();
  const uint64_t size = file.size();
  uint64_t directory = tvf::DecodeFixed64(h + 24);
  uint64_t length = tvf::DecodeFixed64(h + 32);
  uint64_t blocks_end = directory <= size ? directory : size;
  for (uint64_t at = tvf::kHeaderSize; at + tvf::kChunkHeaderSize <= blocks_end;) {
    char *chunk = file.data() + at;
    uint32_t stored = tvf::DecodeFixed32(chunk);
    if (stored > blocks_end - at - tvf::kChunkHeaderSize) break;
    tvf::EncodeFixed32(chunk + 16, tvf::ChunkChecksum(chunk, chunk + tvf::kChunkHeaderSize, stored));
    at += tvf::kChunkHeaderSize + stored;
  }
  if (directory <= size && length <= size - directory) {
    tvf::EncodeFixed32(h + 40, tvf::Crc32c(file.data() + directory, length));
  }
  tvf::EncodeFixed32(h + 60, tvf::Crc32c(h, 60));
}

void Exercise(tvfHandle_t pt) {
  double specials[TVF_SPECIAL_VALUE_COUNT];
  tvfGetSpecialValues(pt, specials);
  tvfSetReadSpecialValues(pt, specials);
  char text[TVF_STRING_SIZE];
  int node, mapping, count = 0, high = 0, symbols = 0, labels = 0;
  for (int n = 1; CtvfGetElemText(pt, n, text, &node); ++n) {
  }
  tvfUMUelInfo(pt, &count, &high);
  for (int i = 1; i <= count; ++i) CtvfUMUelGet(pt, i, text, &mapping);
  tvfSystemInfo(pt, &symbols, &labels);
  char buffers[TVF_MAX_DIM][TVF_STRING_SIZE];
  char *domains[TVF_MAX_DIM];
  for (int d = 0; d < TVF_MAX_DIM; ++d) domains[d] = buffers[d];
  int version;
  CtvfFileInfo(pt, &version, text);
  for (int k = 0; k <= symbols; ++k) {
    char name[TVF_STRING_SIZE];
    int dim, type, records, user_info, number;
    CtvfSymbolInfo(pt, k, name, &dim, &type);
    CtvfSymbolInfoX(pt, k, &records, &user_info, text);
    CtvfSymbolGetDomainX(pt, k, domains);
    CtvfFindSymbol(pt, name, &number);
    if (!tvfDataReadRawStart(pt, k, &records)) continue;
    int key[TVF_MAX_DIM];
    double values[TVF_VALUE_COUNT];
    int first;
    // Read as announced and one more: the reader must stop by itself.
    for (int r = 0; r <= records; ++r) {
      if (!tvfDataReadRaw(pt, key, values, &first)) break;
    }
    tvfDataReadDone(pt);
  }
  for (int e = tvfGetLastError(pt); e != 0; e = tvfGetLastError(pt)) CtvfErrorStr(pt, e, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0 || size > (1u << 24)) return 0;
  std::vector<char> file(reinterpret_cast<const char *>(data) + 1, reinterpret_cast<const char *>(data) + size);
  if (data[0] & 1) RepairChecksums(file);
  tvfHandle_t pt = nullptr;
  if (!XCreate(&pt)) return 0;
  int err = 0;
  if (tvfOpenReadMemory(pt, file.data(), static_cast<int>(file.size()), &err)) {
    Exercise(pt);
    tvfClose(pt);
  } else {
    char text[TVF_STRING_SIZE];
    CtvfErrorStr(pt, err, text);
  }
  XFree(&pt);
  return 0;
}
