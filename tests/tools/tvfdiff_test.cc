// tvfdiff run on files written with the TVF library: the same data under other label numbers, each kind of
// difference, the tolerance, and the ways it fails.
#include <strings.h>

#include <limits>
#include <string>

#include "tool_runs.h"

namespace tvf_test {
namespace {

const double kInf = std::numeric_limits<double>::infinity();

// Plants i with a text, distances d(i,*), a variable x and, unless `changed`, a parameter that the other lacks.
// `labels` gives the label numbering; keys name labels by their text through it.
void WriteTransport(const std::string &path, const std::vector<std::string> &labels, bool changed) {
  const auto number = [&](const std::string &label) {
    for (size_t n = 0; n < labels.size(); ++n) {
      if (strcasecmp(labels[n].c_str(), label.c_str()) == 0) return static_cast<int>(n) + 1;
    }
    return 0;
  };
  WriteTvf(path, labels, [&](tvfHandle_t writer) {
    int nr;
    ASSERT_EQ(CtvfAddSetText(writer, "coast", &nr), 1);
    WriteSymbol(writer, "i", 1, 0, {{{number("seattle")}, {changed ? 0.0 : 1.0}}, {{number("chicago")}, {0}}});
    std::vector<Record> d = {{{number("seattle"), number("new-york")}, {changed ? 2.5000001 : 2.5}}};
    if (!changed) d.push_back({{number("seattle"), number("chicago")}, {1}});
    if (changed) d.push_back({{number("boston"), number("chicago")}, {3}});
    WriteSymbol(writer, "d", 2, 1, d);
    WriteSymbol(writer, "x", 1, 2, {{{number("new-york")}, {changed ? 2.0 : 1.0, 0, 0, kInf, 1}}});
    WriteSymbol(writer, changed ? "added" : "gone", 0, 1, {});
  });
}

class Tvfdiff : public ::testing::Test {
 protected:
  void SetUp() override { WriteTransport(a, {"seattle", "new-york", "chicago"}, false); }
  ScratchDir dir;
  const std::string a = dir.path("a.tvf"), same = dir.path("same.tvf"), other = dir.path("other.tvf");
};

// The same data under other label numbers and letter case is no difference; a tolerance hides small ones.
TEST_F(Tvfdiff, ReportsEachDifferenceOfTheData) {
  WriteTransport(same, {"chicago", "new-york", "SEATTLE"}, false);
  WriteTransport(other, {"seattle", "new-york", "chicago", "boston"}, true);
  const std::string text = "i('seattle') text: \"coast\" in " + a + ", \"\" in " + other + "\n";
  const std::string distance = "d('seattle','new-york'): 2.5 in " + a + ", 2.5000001 in " + other + "\n";
  const std::string rest = "d('seattle','chicago'): only in " + a + " 1\n" +
                           "d('boston','chicago'): only in " + other + " 3\n" +
                           "x('new-york') level: 1 in " + a + ", 2 in " + other + "\n" +
                           "only in " + a + ": parameter gone\n" +
                           "only in " + other + ": parameter added\n";
  const std::string differ = a + " and " + other + " differ in ";
  ExpectRuns(TVFDIFF_PATH,
             {
                 {a + " " + same, 0, "", ""},
                 {a + " " + other, 1, text + distance + rest + differ + "7 places\n", ""},
                 {"--tolerance 1e-6 " + a + " " + other, 1, text + rest + differ + "6 places\n", ""},
             },
             dir);
}

TEST_F(Tvfdiff, FailsOnWrongUsageOrADamagedFile) {
  const std::string cut = dir.path("cut.tvf");
  std::vector<char> bytes = ReadFile(a);
  WriteFile(cut, std::vector<char>(bytes.begin(), bytes.begin() + 100));
  ExpectRuns(TVFDIFF_PATH,
             {
                 {a + " " + cut, 2, "", "tvfdiff: file '" + cut + "' is truncated: it has 100 of its " +
                                            std::to_string(bytes.size()) + " bytes\n"},
                 {a, 2, "?", "?"},
                 {a + " " + a + " " + a, 2, "?", "?"},
                 {"--tolerance -1 " + a + " " + a, 2, "?", "?"},
             },
             dir);
}

}  // namespace
}  // namespace tvf_test
