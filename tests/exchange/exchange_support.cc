#include "exchange/exchange_support.h"

#include <cstdio>
#include <cstring>
#include <fstream>

namespace exchange_test {

TvfFileWriter::TvfFileWriter(const std::string& path, const std::vector<std::string>& labels,
                             const std::vector<std::string>& texts) {
  EXPECT_EQ(1, XCreate(&pt_));
  int errNr = 0;
  EXPECT_EQ(1, CtvfOpenWrite(pt_, path.c_str(), "exchange tests", &errNr)) << errNr;
  tvfUELRegisterRawStart(pt_);
  for (const std::string& label : labels) CtvfUELRegisterRaw(pt_, label.c_str());
  tvfUELRegisterDone(pt_);
  int nr = 0;
  for (const std::string& text : texts) CtvfAddSetText(pt_, text.c_str(), &nr);
}

TvfFileWriter::~TvfFileWriter() {
  EXPECT_EQ(0, tvfErrorCount(pt_));
  EXPECT_EQ(1, tvfClose(pt_));
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

namespace {

// The labels of a key, or the names of a domain, as the block entries give them: slot i at i * TRV_SSSIZE.
using Block = char[GLOBAL_MAX_INDEX_DIM * TRV_SSSIZE];

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
    Block labels = {};
    n__tvbgetkeys(db, rec, dim, labels);
    std::string line;
    for (int i = 0; i < dim; ++i) line += (i ? "." : "") + std::string(labels + i * TRV_SSSIZE);
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
  int dim = 0, type = 0, unused = 0;
  double unusedDouble;
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_NAME, &unused, &unusedDouble, name);
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_TEXT, &unused, &unusedDouble, text);
  c__tvbsymboldim(db, sym, &dim);
  c__tvbsymboltype(db, sym, &type);
  std::string result = std::string(name) + " type " + std::to_string(type) + " subtype " +
                       std::to_string(info(db, sym, TRV_SYMINFO_USERINFO)) + " '" + text + "' (";
  tvbSymbol* domains[GLOBAL_MAX_INDEX_DIM];
  Block names = {};
  const bool named = dim > 0 && n__tvbgetdomain(db, sym, dim, domains, names);
  for (int i = 0; i < dim && named; ++i) {
    tvbSymbol* byName = nullptr;  // a domain is the symbol its name finds (an alias's set), or none
    c__tvbfindsymbol(db, names + i * TRV_SSSIZE, &byName);
    const char* mark = !domains[i] ? "?" : domains[i] != byName ? "!" : "";
    result += (i ? "," : "") + std::string(names + i * TRV_SSSIZE) + mark;
  }
  return result + ")";
}

std::vector<std::string> dump(tvbHandle* db) {
  std::vector<std::string> lines;
  std::string labels;
  for (int uel = 1, count = info(db, nullptr, TRV_INFO_UEL_COUNT); uel <= count; ++uel) {
    char label[TRV_SSSIZE] = "";
    c__tvbgetuelbyindex(db, uel, label);
    labels += std::string(uel > 1 ? "," : "labels ") + label;
  }
  if (!labels.empty()) lines.push_back(labels);
  for (int k = 0, count = info(db, nullptr, TRV_INFO_SYMBOL_COUNT); k < count; ++k) {
    tvbSymbol* sym = nullptr;
    c__tvbgetsymbolbyindex(db, k, &sym);
    lines.push_back(describe(db, sym));
    for (const std::string& line : recordLines(db, sym)) lines.push_back("  " + line);
  }
  return lines;
}

int info(tvbHandle* db, tvbSymbol* sym, int key) {
  int value = -1;
  double unused;
  char text[TRV_SSSIZE];
  sym ? c__tvbsymbolinfo(db, sym, key, &value, &unused, text) : c__tvbinfo(db, key, &value, &unused, text);
  return value;
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
  return msg == "Symbol " + std::string(name) + " not initialized from TVF or TVP: 3";
}

void damageFirstRecordBlock(const std::string& path) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  const char byte = static_cast<char>(f.seekg(64 + 20).get() ^ 0x5a);
  f.seekp(64 + 20).put(byte);
}

std::string traced(tvbHandle* db, int level, const std::function<void()>& body) {
  c__tvbsetdebug(db, level);
  ::testing::internal::CaptureStdout();
  body();
  c__tvbsetdebug(db, 0);
  return ::testing::internal::GetCapturedStdout();
}

}  // namespace exchange_test
