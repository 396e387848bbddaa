// Files that are cut short, damaged, foreign or hostile are refused with an error number and a text, at
// open where the damage is in the header or directory, when a symbol is read where it is in a block; never
// a crash, a hang or a large allocation.
#include <cstring>
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

// A small file with a bit of everything.
std::vector<char> SampleFile(const ScratchDir &dir, int codec = 0) {
  const std::string path = dir.Path("sample.tvf");
  Object writer;
  EXPECT_EQ(tvfSetCompression(writer, codec), 1);
  OpenWriteWithLabels(writer, path, {"a", "b", "c", "d"});
  int nr = 0;
  EXPECT_EQ(CtvfAddSetText(writer, "text one", &nr), 1);
  WriteSymbol(writer, "i", 1, 0, {{{1}, {1}}, {{2}, {0}}, {{3}, {0}}});
  EXPECT_EQ(CtvfAddAlias(writer, "j", "i"), 1);
  const std::vector<std::string> domain = {"i", "j"};
  std::vector<Record> p;
  for (int a = 1; a <= 3; ++a) {
    for (int b = 1; b <= 3; ++b) p.push_back({{a, b}, {a * 1.5 + b}});
  }
  WriteSymbol(writer, "p", 2, 1, p, &domain, "a parameter");
  WriteSymbol(writer, "x", 1, 2, {{{4}, {1, 0, 0, 1e300, 1}}});
  WriteSymbol(writer, "s", 0, 1, {{{}, {3.25}}});
  EXPECT_EQ(tvfClose(writer), 1);
  return ReadFile(path);
}

// Opens bytes from memory; the error number (0 on success).
int OpenBytes(tvfHandle_t pt, const std::vector<char> &bytes) {
  int err = -1;
  int ok = tvfOpenReadMemory(pt, bytes.data(), static_cast<int>(bytes.size()), &err);
  EXPECT_EQ(ok == 1, err == 0);
  return err;
}

// Reads every record of every symbol as the database does; false when an error was logged.
bool ReadEverything(tvfHandle_t pt) {
  int symbols = 0, labels = 0;
  EXPECT_EQ(tvfSystemInfo(pt, &symbols, &labels), 1);
  for (int s = 1; s <= symbols; ++s) {
    int count = 0;
    tvfDataReadRawStart(pt, s, &count);
    int key[20];
    double values[5];
    int dim_first;
    for (int r = 0; r < count; ++r) {
      if (tvfDataReadRaw(pt, key, values, &dim_first) == 0) break;
    }
    tvfDataReadDone(pt);
  }
  return tvfErrorCount(pt) == 0;
}

TEST(CorruptFiles, TheSampleFileReadsCleanly) {
  ScratchDir dir;
  for (int codec : {0, 1, 2}) {
    Object reader;
    ASSERT_EQ(OpenBytes(reader, SampleFile(dir, codec)), 0);
    EXPECT_TRUE(ReadEverything(reader)) << ::testing::PrintToString(DrainErrors(reader));
  }
}

TEST(CorruptFiles, AFileCutShortAtAnyLengthIsRefusedAtOpen) {
  ScratchDir dir;
  const std::vector<char> whole = SampleFile(dir);
  for (size_t n = 0; n < whole.size(); ++n) {
    std::vector<char> cut(whole.begin(), whole.begin() + static_cast<long>(n));
    Object reader;
    int err = OpenBytes(reader, cut);
    ASSERT_NE(err, 0) << "length " << n;
    std::string text = ErrorText(reader, err);
    if (n < 64) {
      EXPECT_EQ(text, "file '(memory)' is too short to be a TVF file (" + std::to_string(n) + " bytes)");
    } else {
      EXPECT_EQ(text, "file '(memory)' is truncated: it has " + std::to_string(n) + " of its " +
                          std::to_string(whole.size()) + " bytes");
    }
  }
  // Through a real file as well, once.
  const std::string path = dir.Path("cut.tvf");
  WriteFile(path, std::vector<char>(whole.begin(), whole.end() - 1));
  Object reader;
  int err = 0;
  EXPECT_EQ(CtvfOpenRead(reader, path.c_str(), &err), 0);
  EXPECT_EQ(ErrorText(reader, err), "file '" + path + "' is truncated: it has " + std::to_string(whole.size() - 1) +
                                        " of its " + std::to_string(whole.size()) + " bytes");
}

TEST(CorruptFiles, EverySingleBitFlipIsDetected) {
  ScratchDir dir;
  for (int codec : {0, 2}) {
    const std::vector<char> whole = SampleFile(dir, codec);
    for (size_t bit = 0; bit < whole.size() * 8; ++bit) {
      std::vector<char> damaged = whole;
      damaged[bit / 8] = static_cast<char>(damaged[bit / 8] ^ (1 << (bit % 8)));
      Object reader;
      if (OpenBytes(reader, damaged) != 0) continue;  // refused at open: header or directory
      EXPECT_FALSE(ReadEverything(reader)) << "flip of bit " << bit << " went unnoticed (codec " << codec << ")";
    }
  }
}

TEST(CorruptFiles, DamageInARecordBlockIsReportedForItsSymbol) {
  ScratchDir dir;
  std::vector<char> bytes = SampleFile(dir);
  // The first block (symbol i) starts after the header: its chunk header, then the records.
  bytes[64 + 20 + 1] ^= 0x10;
  Object reader;
  ASSERT_EQ(OpenBytes(reader, bytes), 0) << "blocks are checked when read, not at open";
  int count = -1;
  EXPECT_EQ(tvfDataReadRawStart(reader, 1, &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(DrainErrors(reader), std::vector<std::string>{"checksum mismatch in the records of symbol 'i'"});
  // The other symbols are unaffected.
  EXPECT_EQ(ReadSymbol(reader, SymbolNumber(reader, "p")).size(), 9u);
}

TEST(CorruptFiles, ForeignAndOddFilesAreRefused) {
  ScratchDir dir;
  Object reader;
  std::vector<char> text(200, 'x');
  EXPECT_EQ(ErrorText(reader, OpenBytes(reader, text)), "file '(memory)' is not a TVF file (unknown magic number)");
  std::vector<char> longer = SampleFile(dir);
  longer.push_back('\0');
  EXPECT_EQ(ErrorText(reader, OpenBytes(reader, longer)), "file '(memory)' has " + std::to_string(longer.size()) +
                                                              " bytes where its header says " +
                                                              std::to_string(longer.size() - 1));
  int err = 0;
  EXPECT_EQ(CtvfOpenRead(reader, dir.Path("").c_str(), &err), 0);
  EXPECT_EQ(ErrorText(reader, err), "cannot open file '" + dir.Path("") + "': is a directory");
  EXPECT_EQ(CtvfOpenRead(reader, dir.Path("missing.tvf").c_str(), &err), 0);
  EXPECT_EQ(ErrorText(reader, err), "cannot open file '" + dir.Path("missing.tvf") + "': No such file or directory");
}

// Hostile files: well-formed checksums around contents that lie.
class HostileFiles : public ::testing::Test {
 protected:
  // A file of the given directory and blocks (the blocks start at offset 64), with correct checksums.
  static std::vector<char> Build(const tvf::Catalog &catalog, const std::string &blocks, uint32_t version = 1) {
    std::string directory;
    tvf::EncodeDirectory(catalog, &directory);
    tvf::FileHeader h;
    h.version = version;
    h.flags = tvf::kFlagComplete;
    h.directory_offset = tvf::kHeaderSize + blocks.size();
    h.directory_length = directory.size();
    h.file_length = h.directory_offset + directory.size();
    h.directory_crc = tvf::Crc32c(directory.data(), directory.size());
    h.label_count = static_cast<uint32_t>(catalog.labels.size());
    h.text_count = static_cast<uint32_t>(catalog.texts.size());
    h.symbol_count = static_cast<uint32_t>(catalog.symbols.size());
    std::vector<char> file(tvf::kHeaderSize);
    tvf::EncodeFileHeader(h, file.data());
    file.insert(file.end(), blocks.begin(), blocks.end());
    file.insert(file.end(), directory.begin(), directory.end());
    return file;
  }

  // A chunk holding the given records of a one-dimensional parameter.
  static std::string Chunk(const std::vector<int32_t> &labels, uint32_t claimed_raw_size = 0) {
    tvf::SpecialValues specials;
    tvf::RecordEncoder encoder(1, 1, &specials);
    std::string raw;
    for (int32_t l : labels) {
      char record[tvf::kMaxRecordSize];
      double v = l;
      raw.append(record, static_cast<size_t>(encoder.Encode(&l, &v, record) - record));
    }
    tvf::ChunkHeader h;
    h.stored_size = static_cast<uint32_t>(raw.size());
    h.raw_size = claimed_raw_size != 0 ? claimed_raw_size : h.stored_size;
    h.record_count = static_cast<uint32_t>(labels.size());
    char header[tvf::kChunkHeaderSize];
    tvf::EncodeChunkHeader(h, header);
    h.crc = tvf::ChunkChecksum(header, raw.data(), raw.size());
    tvf::EncodeChunkHeader(h, header);
    return std::string(header, sizeof header) + raw;
  }

  static tvf::Catalog WithLabels(int n) {
    tvf::Catalog c;
    for (int i = 1; i <= n; ++i) c.labels.Add("l" + std::to_string(i));
    return c;
  }

  static tvf::SymbolEntry Parameter(const std::string &blocks, uint64_t records, uint32_t chunks) {
    tvf::SymbolEntry s;
    s.name = "p";
    s.dim = 1;
    s.type = tvf::kParameter;
    s.record_count = records;
    s.block_offset = tvf::kHeaderSize;
    s.block_length = blocks.size();
    s.chunk_count = chunks;
    return s;
  }

  // The text of the error of opening `file`, "" when it opens.
  std::string OpenError(const std::vector<char> &file) {
    int err = OpenBytes(reader_, file);
    return err == 0 ? "" : ErrorText(reader_, err);
  }

  // The texts of the errors of reading symbol 1 of `file`.
  std::vector<std::string> ReadErrors(const std::vector<char> &file) {
    EXPECT_EQ(OpenBytes(reader_, file), 0);
    ReadEverything(reader_);
    return DrainErrors(reader_);
  }

  Object reader_;
};

TEST_F(HostileFiles, CountsLargerThanTheDirectoryAreRefusedBeforeAllocating) {
  tvf::Catalog c = WithLabels(1);
  std::vector<char> file = Build(c, "");
  // The label count follows the (empty) producer at the start of the directory.
  const size_t at = tvf::kHeaderSize + 1;
  ASSERT_EQ(tvf::DecodeFixed32(file.data() + at), 1u);
  tvf::EncodeFixed32(file.data() + at, 0xffffffffu);
  std::string directory(file.begin() + 64, file.end());
  tvf::FileHeader h;
  ASSERT_EQ(tvf::DecodeFileHeader(file.data(), &h), tvf::HeaderStatus::kOk);
  h.directory_crc = tvf::Crc32c(directory.data(), directory.size());
  tvf::EncodeFileHeader(h, file.data());
  EXPECT_EQ(OpenError(file),
            "the directory of file '(memory)' is malformed: the label count is larger than the directory can hold");
}

TEST_F(HostileFiles, LabelsLongerThanTheLimitAreRefused) {
  tvf::Catalog c;
  c.labels.Add(std::string(64, 'x'));
  EXPECT_EQ(OpenError(Build(c, "")),
            "the directory of file '(memory)' is malformed: a label is longer than 63 characters");
}

TEST_F(HostileFiles, BlocksOutsideTheFileAreRefused) {
  const std::string block = Chunk({1});
  for (uint64_t offset : {uint64_t{0}, uint64_t{10}, uint64_t{64 + 1}, uint64_t{1} << 40, ~uint64_t{0}}) {
    tvf::Catalog c = WithLabels(1);
    tvf::SymbolEntry s = Parameter(block, 1, 1);
    s.block_offset = offset;
    c.AddSymbol(s);
    EXPECT_EQ(OpenError(Build(c, block)),
              "the directory of file '(memory)' is malformed: a record block lies outside "
              "the file")
        << offset;
  }
}

TEST_F(HostileFiles, ImpossibleRecordCountsAreRefused) {
  const std::string block = Chunk({1});
  tvf::Catalog c = WithLabels(1);
  c.AddSymbol(Parameter(block, uint64_t{1} << 40, 1));
  EXPECT_EQ(OpenError(Build(c, block)),
            "the directory of file '(memory)' is malformed: a symbol has an impossible record count");
  tvf::Catalog d = WithLabels(1);
  d.AddSymbol(Parameter(block, 2000000, 1));
  EXPECT_EQ(OpenError(Build(d, block)),
            "the directory of file '(memory)' is malformed: a symbol's record count does not fit its record block");
  tvf::Catalog e = WithLabels(1);
  e.AddSymbol(Parameter(block, 2, 1));
  EXPECT_EQ(ReadErrors(Build(e, block)),
            std::vector<std::string>{"the records of symbol 'p' are malformed: the chunks hold another number of "
                                     "records than the directory says"});
}

TEST_F(HostileFiles, AliasesMustReferToASet) {
  for (int target : {1, 3, -1}) {
    tvf::Catalog c = WithLabels(1);
    tvf::SymbolEntry a;
    a.name = "a";
    a.type = tvf::kAlias;
    a.dim = 1;
    a.user_info = target;
    c.AddSymbol(a);
    EXPECT_EQ(OpenError(Build(c, "")),
              "the directory of file '(memory)' is malformed: an alias refers to a symbol that does not exist")
        << target;
  }
}

TEST_F(HostileFiles, LabelNumbersBeyondTheLabelTableAreReported) {
  const std::string block = Chunk({1, 5});
  tvf::Catalog c = WithLabels(3);
  c.AddSymbol(Parameter(block, 2, 1));
  EXPECT_EQ(
      ReadErrors(Build(c, block)),
      std::vector<std::string>{"label number 5 out of range in the records of symbol 'p' (the file has 3 labels)"});
}

TEST_F(HostileFiles, KeysMustRiseFromChunkToChunk) {
  const std::string block = Chunk({2, 3}) + Chunk({1});
  tvf::Catalog c = WithLabels(3);
  c.AddSymbol(Parameter(block, 3, 2));
  EXPECT_EQ(
      ReadErrors(Build(c, block)),
      std::vector<std::string>{"the records of symbol 'p' are malformed: records are not in ascending key order"});
}

TEST_F(HostileFiles, ChunksClaimingHugeSizesAreRefusedWithoutAllocating) {
  const std::string block = Chunk({1}, 1u << 30);
  tvf::Catalog c = WithLabels(1);
  c.AddSymbol(Parameter(block, 1, 1));
  EXPECT_EQ(ReadErrors(Build(c, block)),
            std::vector<std::string>{"the records of symbol 'p' are malformed: a chunk header has impossible sizes"});
}

TEST_F(HostileFiles, ANewerFormatVersionIsRefused) {
  EXPECT_EQ(OpenError(Build(WithLabels(0), "", 2)),
            "file '(memory)' has TVF format version 2; this library reads version 1");
}

}  // namespace
}  // namespace tvf_test
