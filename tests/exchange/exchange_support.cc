#include "exchange/exchange_support.h"

#include <fstream>
#include <dirent.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace exchange_test {

ScratchDir::ScratchDir() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tvb_exchange_XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) std::abort();
  dir_ = buffer.data();
}

ScratchDir::~ScratchDir() {
  if (DIR* d = opendir(dir_.c_str())) {
    while (dirent* e = readdir(d)) {
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) unlink(path(e->d_name).c_str());
    }
    closedir(d);
  }
  rmdir(dir_.c_str());
}

Database::Database() {
  char msg[TRV_SSSIZE];
  EXPECT_EQ(1, tvbcreate(&db_, msg, sizeof msg)) << msg;
}

std::string Database::lastError() const {
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(db_, msg);
  return msg;
}

tvbSymbol* Database::symbol(const char* name) const {
  tvbSymbol* sym = nullptr;
  c__tvbfindsymbol(db_, name, &sym);
  return sym;
}

tvbSymbol* Database::add(const char* name, int dim, int type, int userInfo, const char* text) {
  tvbSymbol* sym = nullptr;
  EXPECT_EQ(1, c__tvbaddsymbol(db_, name, dim, type, userInfo, text, &sym)) << lastError();
  return sym;
}

void Database::record(tvbSymbol* sym, const std::vector<const char*>& labels, const std::vector<double>& values,
                      const char* text) {
  int uels[GLOBAL_MAX_INDEX_DIM] = {};
  for (size_t i = 0; i < labels.size(); ++i) ASSERT_EQ(1, c__tvbmergeuel(db_, labels[i], &uels[i])) << lastError();
  double block[5] = {};
  for (size_t i = 0; i < values.size() && i < 5; ++i) block[i] = values[i];
  ASSERT_EQ(1, c__tvbaddrecordraw(db_, sym, uels, block, text)) << lastError();
}

TvfFileWriter::TvfFileWriter(const std::string& path, const std::vector<std::string>& labels,
                             const std::vector<std::string>& texts) {
  EXPECT_EQ(1, XCreate(&pt_));
  int errNr = 0;
  EXPECT_EQ(1, CtvfOpenWrite(pt_, path.c_str(), "exchange tests", &errNr)) << errNr;
  tvfUELRegisterRawStart(pt_);
  for (const std::string& label : labels) CtvfUELRegisterRaw(pt_, label.c_str());
  tvfUELRegisterDone(pt_);
  for (const std::string& text : texts) {
    int nr = 0;
    CtvfAddSetText(pt_, text.c_str(), &nr);
  }
}

TvfFileWriter::~TvfFileWriter() {
  if (!closed_) close();
  XFree(&pt_);
}

void TvfFileWriter::alias(const char* name, const char* set) {
  EXPECT_EQ(1, CtvfAddAlias(pt_, name, set));
  ++symbols_;
}

void TvfFileWriter::symbol(const char* name, int dim, int type, int subtype, const std::vector<Record>& records,
                           const std::vector<const char*>& relaxedDomain, const char* text) {
  EXPECT_EQ(1, CtvfDataWriteRawStart(pt_, name, text, dim, type, subtype));
  ++symbols_;
  for (const Record& r : records) {
    int key[GLOBAL_MAX_INDEX_DIM] = {};
    double values[5] = {};
    for (size_t i = 0; i < r.key.size(); ++i) key[i] = r.key[i];
    for (size_t i = 0; i < r.values.size(); ++i) values[i] = r.values[i];
    EXPECT_EQ(1, tvfDataWriteRaw(pt_, key, values));
  }
  EXPECT_EQ(1, tvfDataWriteDone(pt_));
  if (!relaxedDomain.empty()) {
    EXPECT_EQ(1, CtvfSymbolSetDomainX(pt_, symbols_, relaxedDomain.data()));
  }
}

void TvfFileWriter::close() {
  closed_ = true;
  EXPECT_EQ(0, tvfErrorCount(pt_));
  EXPECT_EQ(1, tvfClose(pt_));
}

namespace {

std::string valueText(double v) {
  static const char* const kSpecial[] = {"UNDF", "NA", "+INF", "-INF", "EPS"};
  for (int i = 0; i < 5; ++i)
    if (v == (i + 1) * 1.0e300) return kSpecial[i];
  char text[64];
  unsigned long long bits;
  std::memcpy(&bits, &v, sizeof bits);
  std::snprintf(text, sizeof text, "%.17g(%llx)", v, bits);
  return text;
}

}  // namespace

std::vector<std::string> recordLines(tvbHandle* db, tvbSymbol* sym) {
  std::vector<std::string> lines;
  int dim = 0, type = 0;
  c__tvbsymboldim(db, sym, &dim);
  c__tvbsymboltype(db, sym, &type);
  tvbRecordHandle* rec = nullptr;
  if (!c__tvbfindfirstrecord(db, sym, &rec)) return lines;
  do {
    char buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE];
    char* labels[GLOBAL_MAX_INDEX_DIM];
    for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) labels[i] = buffers[i];
    c__tvbgetkeys(db, rec, dim, labels);
    std::string line;
    for (int i = 0; i < dim; ++i) line += (i ? "." : "") + std::string(labels[i]);
    int uels[GLOBAL_MAX_INDEX_DIM];
    double values[5] = {};
    c__tvbgetrecordraw(db, rec, dim, uels, values);
    if (type == TRV_DT_SET) {
      char text[TRV_SSSIZE] = "";
      c__tvbgetelemtext(db, rec, text);
      line += " '" + std::string(text) + "'";
    } else {
      for (int i = 0; i < (type == TRV_DT_PAR ? 1 : 5); ++i) line += " " + valueText(values[i]);
    }
    lines.push_back(line);
  } while (c__tvbrecordmovenext(db, rec));
  c__tvbfreesymboliterator(db, rec);
  return lines;
}

std::string describe(tvbHandle* db, tvbSymbol* sym) {
  char name[TRV_SSSIZE], text[TRV_SSSIZE];
  int dim = 0, type = 0, userInfo = 0, unused = 0;
  double unusedDouble;
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_NAME, &unused, &unusedDouble, name);
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_TEXT, &unused, &unusedDouble, text);
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_USERINFO, &userInfo, &unusedDouble, text + 200);
  c__tvbsymboldim(db, sym, &dim);
  c__tvbsymboltype(db, sym, &type);
  std::string result = std::string(name) + " type " + std::to_string(type) + " subtype " + std::to_string(userInfo) +
                       " '" + text + "' (";
  tvbSymbol* domains[GLOBAL_MAX_INDEX_DIM];
  char buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE];
  char* names[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) names[i] = buffers[i];
  if (dim > 0 && c__tvbgetdomain(db, sym, dim, domains, names)) {
    for (int i = 0; i < dim; ++i) result += (i ? "," : "") + std::string(names[i]) + (domains[i] ? "" : "?");
  }
  return result + ")";
}

std::vector<std::string> dump(tvbHandle* db) {
  std::vector<std::string> lines;
  int count = 0;
  double unused;
  char text[TRV_SSSIZE];
  c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &count, &unused, text);
  for (int k = 0; k < count; ++k) {
    tvbSymbol* sym = nullptr;
    c__tvbgetsymbolbyindex(db, k, &sym);
    lines.push_back(describe(db, sym));
    for (const std::string& line : recordLines(db, sym)) lines.push_back("  " + line);
  }
  return lines;
}

std::string neverLoadedMessage(const std::string& name) {
  return "Symbol " + name + " not initialized from TVF or TVP: 3";
}

bool wasNeverLoaded(tvbHandle* db, const char* name) {
  tvbSymbol* sym = nullptr;
  if (!c__tvbfindsymbol(db, name, &sym)) return false;
  tvbRecordHandle* rec = nullptr;
  if (c__tvbfindfirstrecord(db, sym, &rec)) {
    c__tvbfreesymboliterator(db, rec);
    return false;
  }
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(db, msg);
  return msg == neverLoadedMessage(name);
}

void damageFirstRecordBlock(const std::string& path) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  char byte = 0;
  f.seekg(64 + 20);
  f.read(&byte, 1);
  byte ^= 0x5a;
  f.seekp(64 + 20);
  f.write(&byte, 1);
}

}  // namespace exchange_test
