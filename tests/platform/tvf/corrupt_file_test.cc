// Files that are cut short, damaged, foreign or hostile are refused with an error number and a text, at
// open where the damage is in the header or directory, when a symbol is read where it is in a block; never
// a crash, a hang or a large allocation.
#include <functional>
#include <string>
#include <vector>

#include "catalog.h"
#include "coding.h"
#include "crc32c.h"
#include "directory_codec.h"
#include "file_format.h"
#include "record_codec.h"
#include "special_values.h"
#include "tvf_test_support.h"

namespace tvf_test {
namespace {

// The bytes of the sample file.
std::vector<char> SampleFile(const ScratchDir &dir, int codec = 0) {
  WriteSample(dir.path("sample.tvf"), codec);
  return ReadFile(dir.path("sample.tvf"));
}

// Opens bytes from memory; the error number (0 on success).
int OpenBytes(tvfHandle_t pt, const std::vector<char> &bytes) {
  int err = -1;
  int ok = tvfOpenReadMemory(pt, bytes.data(), static_cast<int>(bytes.size()), &err);
  EXPECT_EQ(ok == 1, err == 0);
  return err;
}

TEST(CorruptFiles, AFileCutShortIsRefusedAtOpen) {
  ScratchDir dir;
  const std::vector<char> whole = SampleFile(dir);
  for (size_t n = 0; n < whole.size(); ++n) {
    Object reader;
    EXPECT_EQ(ErrorText(reader, OpenBytes(reader, {whole.begin(), whole.begin() + static_cast<long>(n)})),
              n < 64 ? "file '(memory)' is too short to be a TVF file (" + std::to_string(n) + " bytes)"
                     : "file '(memory)' is truncated: it has " + std::to_string(n) + " of its " +
                           std::to_string(whole.size()) + " bytes");
  }
}

// Blocks are checked when read, not at open; the other symbols are unaffected.
TEST(CorruptFiles, DamageInABlockIsReportedWhenItsSymbolIsRead) {
  ScratchDir dir;
  std::vector<char> bytes = SampleFile(dir);
  // The first block (symbol i) starts after the header: its chunk header, then the records.
  bytes[64 + 20 + 1] ^= 0x10;
  Object reader;
  ASSERT_EQ(OpenBytes(reader, bytes), 0);
  int count = -1;
  EXPECT_EQ(tvfDataReadRawStart(reader, 1, &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(DrainErrors(reader), std::vector<std::string>{"checksum mismatch in the records of symbol 'i'"});
  EXPECT_EQ(ReadSymbol(reader, SymbolNumber(reader, "d")).size(), 3u);
}

TEST(CorruptFiles, EverySingleBitFlipIsDetected) {
  ScratchDir dir;
  for (int codec : {0, 1, 2}) {
    const std::vector<char> whole = SampleFile(dir, codec);
    Object clean;
    ASSERT_EQ(OpenBytes(clean, whole), 0);
    ASSERT_TRUE(ReadEverything(clean)) << "codec " << codec << ": " << ::testing::PrintToString(DrainErrors(clean));
    for (size_t bit = 0; bit < whole.size() * 8; ++bit) {
      std::vector<char> damaged = whole;
      damaged[bit / 8] = static_cast<char>(damaged[bit / 8] ^ (1 << (bit % 8)));
      Object reader;
      if (OpenBytes(reader, damaged) != 0) continue;  // refused at open: header or directory
      EXPECT_FALSE(ReadEverything(reader)) << "flip of bit " << bit << " went unnoticed (codec " << codec << ")";
    }
  }
}

// A file of the given directory and blocks (the blocks start at offset 64), with correct checksums; `patch`
// may change the encoded directory first.
std::vector<char> Build(const tvf::Catalog &catalog, const std::string &blocks, uint32_t version = 1,
                        const std::function<void(std::string *)> &patch = nullptr,
                        uint32_t flags = tvf::kFlagComplete) {
  std::string directory;
  tvf::EncodeDirectory(catalog, &directory);
  if (patch) patch(&directory);
  const uint64_t directory_offset = tvf::kHeaderSize + blocks.size();
  std::vector<char> file(tvf::kHeaderSize);
  tvf::EncodeFileHeader({.version = version,
                         .flags = flags,
                         .file_length = directory_offset + directory.size(),
                         .directory_offset = directory_offset,
                         .directory_length = directory.size(),
                         .directory_crc = tvf::Crc32c(directory.data(), directory.size()),
                         .label_count = static_cast<uint32_t>(catalog.labels.size()),
                         .text_count = static_cast<uint32_t>(catalog.texts.size()),
                         .symbol_count = static_cast<uint32_t>(catalog.symbols.size())},
                        file.data());
  file.insert(file.end(), blocks.begin(), blocks.end());
  file.insert(file.end(), directory.begin(), directory.end());
  return file;
}

// A chunk holding the given records of a one-dimensional parameter.
std::string Chunk(const std::vector<int32_t> &labels, uint32_t claimed_raw_size = 0) {
  tvf::SpecialValues specials;
  tvf::RecordEncoder encoder(1, 1, &specials);
  std::string raw;
  for (int32_t l : labels) {
    char record[tvf::kMaxRecordSize];
    double v = l;
    raw.append(record, static_cast<size_t>(encoder.Encode(&l, &v, record) - record));
  }
  tvf::ChunkHeader h{.stored_size = static_cast<uint32_t>(raw.size()),
                     .raw_size = claimed_raw_size != 0 ? claimed_raw_size : static_cast<uint32_t>(raw.size()),
                     .record_count = static_cast<uint32_t>(labels.size())};
  char header[tvf::kChunkHeaderSize];
  tvf::EncodeChunkHeader(h, header);
  h.crc = tvf::ChunkChecksum(header, raw.data(), raw.size());
  tvf::EncodeChunkHeader(h, header);
  return std::string(header, sizeof header) + raw;
}

// A catalog of the labels and the symbol, if it has a name.
tvf::Catalog Catalog(const std::vector<std::string> &labels, const tvf::SymbolEntry &symbol = {}) {
  tvf::Catalog c;
  for (const std::string &l : labels) c.labels.Add(l);
  if (!symbol.name.empty()) c.AddSymbol(symbol);
  return c;
}

// A file with labels "l1" to "ln" and a one-dimensional parameter "p" whose records are said to be in `blocks`.
std::vector<char> WithParameter(int labels, const std::string &blocks, uint64_t records, uint32_t chunks,
                                uint64_t offset = tvf::kHeaderSize) {
  return Build(Catalog(Labels(labels), {.name = "p",
                                        .dim = 1,
                                        .type = tvf::kParameter,
                                        .record_count = records,
                                        .block_offset = offset,
                                        .block_length = blocks.size(),
                                        .chunk_count = chunks}),
               blocks);
}

TEST(CorruptFiles, HostileFilesAreRefusedAtOpenOrWhenRead) {
  ScratchDir dir;
  std::vector<char> longer = SampleFile(dir);
  longer.push_back('\0');
  const std::string one = Chunk({1});
  const std::string malformed = "the directory of file '(memory)' is malformed: ";
  const std::string records = "the records of symbol 'p' are malformed: ";
  struct Case {
    std::string what;
    std::vector<char> file;
    std::string open_error;  // "" when it opens
    std::string read_error;  // the one error of reading everything, when it opens
  };
  std::vector<Case> cases = {
      {"text", std::vector<char>(200, 'x'), "file '(memory)' is not a TVF file (unknown magic number)", ""},
      {"longer than its header says", longer,
       "file '(memory)' has " + std::to_string(longer.size()) + " bytes where its header says " +
           std::to_string(longer.size() - 1),
       ""},
      {"newer format version", Build(Catalog({}), "", 2),
       "file '(memory)' has TVF format version 2; this library reads version 1", ""},
      {"unfinished", Build(Catalog({}), "", 1, nullptr, 0),
       "file '(memory)' is incomplete: its writer did not close it", ""},
      // Counts larger than the directory are refused before anything is allocated for them. The label count
      // follows the (empty) producer at the start of the directory.
      {"label count",
       Build(Catalog({"l1"}), "", 1,
             [](std::string *d) {
               EXPECT_EQ(tvf::DecodeFixed32(d->data() + 1), 1u);
               tvf::EncodeFixed32(d->data() + 1, 0xffffffffu);
             }),
       malformed + "the label count is larger than the directory can hold", ""},
      {"long label", Build(Catalog({std::string(64, 'x')}), ""), malformed + "a label is longer than 63 characters",
       ""},
      {"record count beyond any block", WithParameter(1, one, uint64_t{1} << 40, 1),
       malformed + "a symbol has an impossible record count", ""},
      {"record count beyond the block", WithParameter(1, one, 2000000, 1),
       malformed + "a symbol's record count does not fit its record block", ""},
      {"record count beyond the chunks", WithParameter(1, one, 2, 1), "",
       records + "the chunks hold another number of records than the directory says"},
      {"label number beyond the labels", WithParameter(3, Chunk({1, 5}), 2, 1), "",
       "label number 5 out of range in the records of symbol 'p' (the file has 3 labels)"},
      {"keys falling from chunk to chunk", WithParameter(3, Chunk({2, 3}) + Chunk({1}), 3, 2), "",
       records + "records are not in ascending key order"},
      // A chunk claiming a huge size is refused without allocating it.
      {"chunk of a huge size", WithParameter(1, Chunk({1}, 1u << 30), 1, 1), "",
       records + "a chunk header has impossible sizes"},
  };
  for (uint64_t offset : {uint64_t{0}, uint64_t{10}, uint64_t{64 + 1}, uint64_t{1} << 40, ~uint64_t{0}}) {
    cases.push_back({"block at " + std::to_string(offset), WithParameter(1, one, 1, 1, offset),
                     malformed + "a record block lies outside the file", ""});
  }
  for (int target : {1, 3, -1}) {
    cases.push_back({"alias of symbol " + std::to_string(target),
                     Build(Catalog({"l1"}, {.name = "a", .dim = 1, .type = tvf::kAlias, .user_info = target}), ""),
                     malformed + "an alias refers to a symbol that does not exist", ""});
  }
  Object reader;  // one for all: a refused file leaves nothing behind
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const int err = OpenBytes(reader, c.file);
    EXPECT_EQ(err == 0 ? "" : ErrorText(reader, err), c.open_error);
    if (err == 0) {
      EXPECT_FALSE(ReadEverything(reader));
      EXPECT_EQ(DrainErrors(reader), std::vector<std::string>{c.read_error});
      EXPECT_EQ(tvfClose(reader), 1);
    }
  }
  // Files that cannot be opened at all.
  for (const auto &[path, reason] : {std::pair<std::string, std::string>{dir.path(""), "is a directory"},
                                     {dir.path("missing.tvf"), "No such file or directory"}}) {
    int err = 0;
    EXPECT_EQ(CtvfOpenRead(reader, path.c_str(), &err), 0);
    EXPECT_EQ(ErrorText(reader, err), "cannot open file '" + path + "': " + reason);
  }
}

}  // namespace
}  // namespace tvf_test
