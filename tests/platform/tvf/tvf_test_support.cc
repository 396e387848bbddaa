#include "tvf_test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tvf_test {

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tvf_test_XXXXXX").string();
  char *made = mkdtemp(pattern.data());
  EXPECT_NE(made, nullptr);
  dir_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ErrorText(tvfHandle_t pt, int number) {
  char text[TVF_STRING_SIZE];
  EXPECT_EQ(CtvfErrorStr(pt, number, text), 1);
  return text;
}

std::vector<std::string> DrainErrors(tvfHandle_t pt) {
  std::vector<std::string> texts;
  for (int e = tvfGetLastError(pt); e != 0; e = tvfGetLastError(pt)) texts.push_back(ErrorText(pt, e));
  return texts;
}

void OpenWriteWithLabels(tvfHandle_t pt, const std::string &path, const std::vector<std::string> &labels) {
  int err = -1;
  ASSERT_EQ(CtvfOpenWrite(pt, path.c_str(), "tvf tests", &err), 1) << ErrorText(pt, err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(tvfUELRegisterRawStart(pt), 1);
  for (const std::string &l : labels) ASSERT_EQ(CtvfUELRegisterRaw(pt, l.c_str()), 1) << l;
  ASSERT_EQ(tvfUELRegisterDone(pt), 1);
}

void WriteSymbol(tvfHandle_t pt, const std::string &name, int dim, int type, const std::vector<Record> &records,
                 const std::vector<std::string> *checked_domain, const std::string &text) {
  ASSERT_EQ(CtvfDataWriteRawStart(pt, name.c_str(), text.c_str(), dim, type, 0), 1);
  if (checked_domain != nullptr) {
    std::vector<const char *> names;
    for (const std::string &d : *checked_domain) names.push_back(d.c_str());
    ASSERT_EQ(CtvfSymbolSetDomain(pt, names.data()), 1);
  }
  for (const Record &r : records) {
    int key[TVF_MAX_DIM] = {};
    double values[TVF_VALUE_COUNT] = {};
    std::copy(r.key.begin(), r.key.end(), key);
    std::copy(r.values.begin(), r.values.end(), values);
    tvfDataWriteRaw(pt, key, values);
  }
  ASSERT_EQ(tvfDataWriteDone(pt), 1);
}

std::vector<Record> ReadSymbol(tvfHandle_t pt, int number) {
  std::vector<Record> records;
  char name[TVF_STRING_SIZE];
  int dim = 0;
  int type = 0;
  EXPECT_EQ(CtvfSymbolInfo(pt, number, name, &dim, &type), 1);
  int count = -1;
  EXPECT_EQ(tvfDataReadRawStart(pt, number, &count), 1);
  int errors_before = tvfErrorCount(pt);
  for (int i = 0; i < count; ++i) {
    int key[TVF_MAX_DIM];
    double values[TVF_VALUE_COUNT];
    int dim_first = 0;
    if (tvfDataReadRaw(pt, key, values, &dim_first) != 1) {
      ADD_FAILURE() << "record " << i << " of " << count << " of " << name << " missing";
      break;
    }
    records.push_back({std::vector<int>(key, key + dim), std::vector<double>(values, values + 5)});
  }
  int key[TVF_MAX_DIM];
  double values[TVF_VALUE_COUNT];
  int dim_first = 0;
  EXPECT_EQ(tvfDataReadRaw(pt, key, values, &dim_first), 0) << "more records than announced";
  EXPECT_EQ(tvfErrorCount(pt), errors_before);
  EXPECT_EQ(tvfDataReadDone(pt), 1);
  return records;
}

int SymbolNumber(tvfHandle_t pt, const std::string &name) {
  int number = -1;
  EXPECT_EQ(CtvfFindSymbol(pt, name.c_str(), &number), 1) << name;
  return number;
}

std::vector<char> ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string &path, const std::vector<char> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tvf_test
