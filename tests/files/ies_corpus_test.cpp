// Every real file of the corpus: whether it loads, or what the reader says,
// and samples worked out by hand from the numbers in the file.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/ies_format.h"

namespace {

// A sample at `degree`: the root of the candela value there (a listed value,
// or one interpolated by hand) times the file's multiplier.
struct Sample {
  size_t degree;
  const char* candela;
  const char* multiplier = "1";
};

struct CorpusRow {
  const char* file;
  const char* error;  // empty when the file loads
  std::vector<Sample> samples;
  friend void PrintTo(const CorpusRow& r, std::ostream* os) { *os << r.file; }
};

std::string Contents(const std::string& name) {
  std::ifstream in(std::string(IES_CORPUS_DIR) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

float ExpectedSample(const Sample& s) {
  const double value = static_cast<double>(std::stof(s.candela)) * std::stof(s.multiplier);
  return static_cast<float>(std::sqrt(static_cast<double>(static_cast<float>(value))));
}

class CorpusTest : public testing::TestWithParam<CorpusRow> {};

TEST_P(CorpusTest, LoadsOrSaysWhy) {
  const CorpusRow& row = GetParam();
  const std::string text = Contents(row.file);
  ASSERT_FALSE(text.empty()) << "missing " << row.file;
  const Lm63ReadResult result = ReadIesText(text);
  EXPECT_EQ(result.error, row.error);
  EXPECT_EQ(result.ok, std::string(row.error).empty());
  for (const Sample& s : row.samples) {
    EXPECT_EQ(result.curve[s.degree], ExpectedSample(s)) << "degree " << s.degree;
  }
  for (float sample : result.curve) EXPECT_TRUE(std::isfinite(sample) && sample >= 0.0f);
}

const char* const kTypeB =
    "it is a type B file (photometric type 2); only type C files can be edited.";

INSTANTIATE_TEST_SUITE_P(
    Files, CorpusTest,
    testing::Values(
        // Four-digit exponents; 0..90 by 1 degree, nothing beyond.
        CorpusRow{"iesna-blank-line-exponents.ies", "",
                  {{0, "1.30000000030000E+0010"}, {90, "3.59191793818661E+0000"}, {91, "0"}}},
        // 0..180 by 2.5 in fixed-width columns.
        CorpusRow{"iesna91-bega-axial.ies", "", {{0, "4800.0"}, {5, "4770.8"}, {180, "0"}}},
        // Commas between numbers, five planes: the first is read.
        CorpusRow{"iesna91-lithonia-commas.ies", "",
                  {{0, "166"}, {5, "125"}, {10, "53"}, {91, "0"}}},
        // Uneven steps; 35 lies halfway between 0 at 30 and 0.125 at 40.
        CorpusRow{"iesna91-mdl-rimlight-noeol.ies", "",
                  {{35, "0.0625"}, {40, "0.125"}, {90, "10.0"}, {180, "0.0"}}},
        CorpusRow{"iesna91-mdl-typeb.ies", kTypeB, {}},
        // Two lamps and five planes; the first plane wraps over three lines.
        CorpusRow{"iesna95-radiance-examp1.ies", "",
                  {{0, "778.4"}, {5, "774.9"}, {180, "801.4"}}},
        // No version line; multiplier 2.2; "END" after the data.
        CorpusRow{"lm63-1986-erco-noheader-end.ies", "",
                  {{0, "681.879276637", "2.2"}, {5, "557.110079287", "2.2"}, {90, "0"}}},
        // "4612." and ".0" number forms.
        CorpusRow{"lm63-1995-ballabs-leading-spaces.ies", "", {{0, "4612."}, {5, "5322."}}},
        // Nine planes from 0 to 180.
        CorpusRow{"lm63-1995-ballabs-wallpack-0-180.ies", "",
                  {{0, "25790."}, {5, "25293."}, {10, "19946."}}},
        CorpusRow{"lm63-1995-erco-spot.ies", "", {{0, "7399.9"}, {10, "6097.7"}}},
        // Multiplier .89; all angles on one long line.
        CorpusRow{"lm63-1995-leomoon-wall-longline.ies", "",
                  {{0, "178.4", ".89"}, {5, "170.8", ".89"}, {180, ".3035", ".89"}}},
        // 181 angles on one line, two planes of ones.
        CorpusRow{"lm63-2002-dial-onedegree-longlines.ies", "", {{0, "1"}, {180, "1"}}},
        // Candela values separated by two tabs; seven planes.
        CorpusRow{"lm63-2002-erco-tabs.ies", "", {{0, "11501.82"}, {5, "8886.24"}}},
        // Nine planes round the full circle.
        CorpusRow{"lm63-2002-everfine-0-360.ies", "",
                  {{0, "4210.000"}, {5, "4174.84"}, {180, "28.00"}}},
        // Half-degree steps with multiplier 0.74.
        CorpusRow{"lm63-2002-lightlab-halfdegree-mult.ies", "",
                  {{0, "2310.718", "0.74"}, {1, "2306.422", "0.74"}, {2, "2288.93", "0.74"}}},
        CorpusRow{"lm63-2002-rab-downlight-axial.ies", "", {{0, "241"}, {5, "239"}, {90, "0"}}},
        CorpusRow{"lm63-2002-rab-flood-typeb.ies", kTypeB, {}},
        // Multiplier 1.032007, twelve planes.
        CorpusRow{"lm63-2002-rab-roadway-mult.ies", "",
                  {{0, "514.66", "1.032007"}, {5, "510.12", "1.032007"}}},
        // Inline tilt data, and "TILT=INCLUDE" inside a keyword line.
        CorpusRow{"lm63-2002-tilt-include-synthetic.ies", "",
                  {{0, "1000.0"}, {45, "700.0"}, {90, "100.0"}, {91, "0"}}},
        // 5 lies halfway between 9000 at 0 and 6400 at 10.
        CorpusRow{"lm63-2019-nvidia-example.ies", "",
                  {{0, "9000"}, {5, "7700"}, {10, "6400"}}}),
    [](const testing::TestParamInfo<CorpusRow>& row) {
      std::string name = row.param.file;
      name = name.substr(0, name.size() - 4);
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

}  // namespace
