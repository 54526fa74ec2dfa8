// The reader: our own files, the resampling, the tilt line search, the LM-63
// layout of other programs' files, and files it refuses.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <random>
#include <string>

#include "files/ies_format.h"
#include "ies_test_files.h"

namespace {

float Root(double candela) {
  return static_cast<float>(std::sqrt(static_cast<double>(static_cast<float>(candela))));
}

void ExpectAllFiniteAndNotNegative(const Lm63ReadResult& result) {
  for (float sample : result.curve) {
    EXPECT_TRUE(std::isfinite(sample) && sample >= 0.0f) << sample;
  }
}

TEST(ReadOwnFiles, EverySampleComesBackAsTheRootOfItsWrittenValue) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> sample(0.0f, 300.0f);
  std::uniform_real_distribution<float> decade(-3.0f, 4.0f);
  for (int round = 0; round < 20; ++round) {
    Curve curve{};
    // Half the rounds span seven decades: neighbours that differ by a factor
    // of 1e14 in candela must not disturb each other at their own degrees.
    for (float& s : curve) s = round < 10 ? sample(random) : std::pow(10.0f, decade(random));
    curve[static_cast<size_t>(round)] = 0.0f;
    const std::string text = WriteIesText(curve.data());
    const Lm63ReadResult result = ReadIesText(text);
    ASSERT_TRUE(result.ok) << result.error;
    for (size_t i = 0; i < curve.size(); ++i) {
      const double square = static_cast<double>(curve[i]) * curve[i];
      const float written = std::stof(FormatTrimmed(square));
      EXPECT_EQ(result.curve[i], std::sqrt(written)) << "degree " << i;
    }
  }
}

TEST(ReadOwnFiles, WriteReadWriteGivesTheSameBytes) {
  Curve curve{};
  for (size_t i = 0; i < curve.size(); ++i) curve[i] = static_cast<float>(i % 17) * 1.5f;
  const std::string first = WriteIesText(curve.data());
  const Lm63ReadResult read = ReadIesText(first);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(WriteIesText(read.curve.data()), first);
}

TEST(Resampling, FiveDegreeStepsInterpolateAndEndAtZero) {
  TestIesFile file;
  std::vector<double> values;
  for (int a = 0; a <= 90; a += 5) {
    file.vertical.push_back(a);
    values.push_back(1000.0 - 10.0 * a);
  }
  file.candela = {values};
  const Lm63ReadResult result = ReadIesText(file.Text());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.curve[0], Root(1000.0));
  EXPECT_EQ(result.curve[5], Root(950.0));
  EXPECT_EQ(result.curve[7], Root(950.0 + (900.0 - 950.0) * 2.0 / 5.0));  // 2/5 of the way
  EXPECT_EQ(result.curve[90], Root(100.0));
  for (size_t d = 91; d <= 180; ++d) EXPECT_EQ(result.curve[d], 0.0f) << d;
}

// An uplight, listed from 90 degrees (no light below the horizontal): no
// light below its first angle, not the line through its first two extended.
TEST(Resampling, BelowTheFirstAngleThereIsNoLight) {
  TestIesFile file;
  std::vector<double> values;
  for (int a = 90; a <= 180; a += 10) {
    file.vertical.push_back(a);
    values.push_back(a == 90 ? 500.0 : 400.0);
  }
  file.candela = {values};
  const Lm63ReadResult result = ReadIesText(file.Text());
  ASSERT_TRUE(result.ok) << result.error;
  for (size_t d = 0; d < 90; ++d) EXPECT_EQ(result.curve[d], 0.0f) << d;
  EXPECT_EQ(result.curve[90], Root(500.0));
  EXPECT_EQ(result.curve[95], Root(450.0));
  EXPECT_EQ(result.curve[180], Root(400.0));
}

struct SampleCase {
  const char* what;
  std::vector<double> vertical;
  std::vector<double> candela;
  size_t degree;
  float expected;
  friend void PrintTo(const SampleCase& c, std::ostream* os) { *os << c.what; }
};

class ResamplingEdgeTest : public testing::TestWithParam<SampleCase> {};

TEST_P(ResamplingEdgeTest, GivesAFiniteSampleThatIsNotNegative) {
  TestIesFile file;
  file.vertical = GetParam().vertical;
  file.candela = {GetParam().candela};
  const Lm63ReadResult result = ReadIesText(file.Text());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.curve[GetParam().degree], GetParam().expected) << GetParam().what;
  ExpectAllFiniteAndNotNegative(result);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ResamplingEdgeTest,
    testing::Values(
        // A negative candela value stores 0.
        SampleCase{"negative", {0, 10}, {-100, -100}, 5, 0.0f},
        // Below the first angle: 0, also just below it.
        SampleCase{"below the first angle", {50, 60}, {100, 200}, 49, 0.0f},
        SampleCase{"at the first angle", {50, 60}, {100, 200}, 50, 10.0f},
        // Two equal neighbouring angles: the first value, no division by zero.
        SampleCase{"equal angles", {10, 10, 20}, {400, 900, 100}, 10, 20.0f},
        // A single vertical angle 0: its value at degree 0, then 0.
        SampleCase{"one angle", {0}, {16}, 0, 4.0f},
        SampleCase{"one angle, beyond", {0}, {16}, 1, 0.0f},
        // Values near the float limit stay finite.
        SampleCase{"huge slope", {0, 1e-30}, {3e38, -3e38}, 0, std::sqrt(3e38f)},
        SampleCase{"huge extension", {100, 100.001}, {0, 3.4e38}, 0, 0.0f},
        SampleCase{"huge rise", {179.999, 180}, {-3.4e38, 3.4e38}, 180, std::sqrt(3.4e38f)}));

class OneByteSource final : public IesChunkSource {
 public:
  explicit OneByteSource(std::string_view text) : text_(text) {}
  std::string_view NextChunk() override {
    const std::string_view chunk = text_.substr(0, 1);
    text_.remove_prefix(chunk.size());
    return chunk;
  }

 private:
  std::string_view text_;
};

// The tilt line is the first line piece whose first five characters are
// "TILT="; whatever comes before it is ignored.
struct TiltCase {
  const char* what;
  std::string before;
  std::string tiltLine;
  bool found;
  friend void PrintTo(const TiltCase& c, std::ostream* os) { *os << c.what; }
};

class TiltSearchTest : public testing::TestWithParam<TiltCase> {};

TEST_P(TiltSearchTest, FindsOnlyATiltLineAtTheStartOfALinePiece) {
  TestIesFile file;
  file.before = GetParam().before;
  file.tiltLine = GetParam().tiltLine;
  file.vertical = {0, 90};
  file.candela = {{100, 25}};
  const std::string text = file.Text();
  const Lm63ReadResult result = ReadIesText(text);
  EXPECT_EQ(result.ok, GetParam().found) << GetParam().what << ": " << result.error;
  if (GetParam().found) {
    EXPECT_EQ(result.curve[0], 10.0f);
  }
  // The same text arriving one byte at a time takes the byte-by-byte path.
  OneByteSource bytes(text);
  EXPECT_EQ(ReadIes(bytes).ok, GetParam().found) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TiltSearchTest,
    testing::Values(
        TiltCase{"at the very top", "", "TILT=NONE", true},
        TiltCase{"after keyword lines", "IESNA:LM-63-2002\n[TEST] x\n", "TILT=NONE", true},
        TiltCase{"names a tilt file", "", "TILT=lamp.tlt", true},
        TiltCase{"lower case", "", "tilt=NONE", false},
        TiltCase{"after spaces", "", "  TILT=NONE", false},
        TiltCase{"inside a line", "[LUMINAIRE] ", "TILT=NONE", false},
        TiltCase{"after CR LF lines", "IESNA:\r\n[TEST]\r\n", "TILT=NONE\r", true},
        // A line of 254 characters is one piece; what follows starts a new one.
        TiltCase{"after a 254-character piece", std::string(254, 'x'), "TILT=NONE", true},
        TiltCase{"after 253 characters", std::string(253, 'x'), "TILT=NONE", false},
        // CR LF is one character of the piece: 253 characters and CR LF end it.
        TiltCase{"253 and CR LF", std::string(253, 'x') + "\r\n", "TILT=NONE", true},
        TiltCase{"254 and CR LF", std::string(254, 'x') + "\r\n", "TILT=NONE", true},
        TiltCase{"254 and CR", std::string(254, 'x') + "\r", "TILT=NONE", false},
        TiltCase{"253, CR and x", std::string(253, 'x') + "\rx", "TILT=NONE", false},
        TiltCase{"253, CR", std::string(253, 'x') + "\r", "TILT=NONE", true},
        TiltCase{"a lone CR is a character", "x\r", "TILT=NONE", false}));

TEST(TiltSearch, ALastLineWithoutLineEndIsFound) {
  const Lm63ReadResult result = ReadIesText("IESNA:\nTILT=NONE");
  EXPECT_EQ(result.error, "it ends before its header values.");
}

// Files from other programs are read by their header, not by the order of
// their numbers alone.
TEST(Layout, TheMultiplierScalesTheCandelaValues) {
  TestIesFile file;
  file.vertical = {0, 90};
  file.candela = {{50, 8}};
  file.multiplier = "2";
  const Lm63ReadResult result = ReadIesText(file.Text());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.curve[0], 10.0f);
  EXPECT_EQ(result.curve[90], 4.0f);
}

TEST(Layout, OnlyTheFirstHorizontalPlaneIsRead) {
  for (size_t planes : {2u, 3u, 9u}) {
    TestIesFile file;
    file.vertical = {0, 45, 90};
    file.horizontal.clear();
    file.candela.clear();
    for (size_t h = 0; h < planes; ++h) {
      file.horizontal.push_back(static_cast<double>(h) * 10.0);
      file.candela.push_back({400.0 + static_cast<double>(h), 100, 4});
    }
    const Lm63ReadResult result = ReadIesText(file.Text());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.curve[0], 20.0f) << planes;
    EXPECT_EQ(result.curve[45], 10.0f) << planes;
    EXPECT_EQ(result.curve[90], 2.0f) << planes;
  }
}

TEST(Layout, InlineTiltDataIsSkipped) {
  TestIesFile file;
  file.tiltLine = "TILT=INCLUDE";
  file.tiltData = "1\n3\n0 45 90\n1.0 0.9 0.8\n";
  file.vertical = {0, 90};
  file.candela = {{64, 1}};
  const Lm63ReadResult result = ReadIesText(file.Text());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.curve[0], 8.0f);
  EXPECT_EQ(result.curve[90], 1.0f);
}

TEST(Layout, AVerticalZeroAfterTheFirstAngleDoesNotEndTheList) {
  TestIesFile file;
  file.vertical = {-10, 0, 10};
  file.candela = {{1, 4, 9}};
  const Lm63ReadResult result = ReadIesText(file.Text());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.curve[0], 2.0f);
  EXPECT_EQ(result.curve[10], 3.0f);
}

TEST(Numbers, CommasTabsAndNumberFormsSeparateAndRead) {
  const Lm63ReadResult result = ReadIesText(
      "TILT=NONE\r\n1,-1,1,3,1,1,1,0,0,0\r\n1\t1\t0\r\n.0,+4.5E+1,9e1\r\n0.\r\n"
      "1.6e3 , 4E2\t\t1e-60\r\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.curve[0], 40.0f);
  EXPECT_EQ(result.curve[45], 20.0f);
  EXPECT_EQ(result.curve[90], 0.0f);  // too small for a float: zero
}

// Files the reader refuses, with what it says about them.
struct RefusedCase {
  const char* what;
  std::string text;
  const char* error;
  friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.what; }
};

class RefusedFileTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFileTest, SaysWhatIsWrong) {
  const Lm63ReadResult result = ReadIesText(GetParam().text);
  EXPECT_FALSE(result.ok) << GetParam().what;
  EXPECT_EQ(result.error, GetParam().error) << GetParam().what;
}

const std::string kHeader = "TILT=NONE\n1 -1 1 3 1 1 1 0 0 0\n1 1 0\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFileTest,
    testing::Values(
        RefusedCase{"empty", "", "it has no line starting with \"TILT=\"."},
        RefusedCase{"no tilt line", "IESNA:\n1 -1 1 3 1 1 1 0 0 0\n",
                    "it has no line starting with \"TILT=\"."},
        RefusedCase{"header cut", "TILT=NONE\n1 -1 1 3",
                    "it ends in the middle of its header values."},
        RefusedCase{"no angles", kHeader, "it ends before its vertical angles."},
        RefusedCase{"angles cut", kHeader + "0 45", "it ends in the middle of its vertical angles."},
        RefusedCase{"no horizontal", kHeader + "0 45 90\n", "it ends before its horizontal angles."},
        RefusedCase{"no candela", kHeader + "0 45 90\n0\n", "it ends before its candela values."},
        RefusedCase{"candela cut", kHeader + "0 45 90\n0\n5 4",
                    "it ends in the middle of its candela values."},
        RefusedCase{"tilt data cut", "TILT=INCLUDE\n1\n4\n0 45\n",
                    "it ends in the middle of its tilt data."},
        RefusedCase{"text for a number", kHeader + "0 45 ninety\n0\n1 2 3\n",
                    "it has \"ninety\" where a vertical angle should be."},
        RefusedCase{"number run into text", kHeader + "0 45 90\n0\n1 2 3cd\n",
                    "it has \"3cd\" where a candela value should be."},
        RefusedCase{"bare exponent", kHeader + "0 45 90e\n0\n1 2 3\n",
                    "it has \"90e\" where a vertical angle should be."},
        RefusedCase{"nan", kHeader + "0 45 90\n0\nnan 2 3\n",
                    "it has \"nan\" where a candela value should be."},
        RefusedCase{"control bytes", kHeader + "0 45 90\n0\n\x01\x7f 2 3\n",
                    "it has \"??\" where a candela value should be."},
        RefusedCase{"infinite", kHeader + "0 45 90\n0\n1e39 2 3\n",
                    "it has a number too large to use (1e39) among its candela values."},
        RefusedCase{"overlong", kHeader + "0 45 90\n0\n" + std::string(300, '1') + "\n",
                    "it has a candela value more than 255 characters long."},
        RefusedCase{"zero angles", "TILT=NONE\n1 -1 1 0 1 1 1 0 0 0\n1 1 0\n",
                    "its number of vertical angles (0) is not a whole number from 1 to 999."},
        RefusedCase{"fractional count", "TILT=NONE\n1 -1 1 3 1.5 1 1 0 0 0\n1 1 0\n",
                    "its number of horizontal angles (1.5) is not a whole number from 1 to "
                    "36001."},
        RefusedCase{"count too large", "TILT=NONE\n1 -1 1 1e9 1 1 1 0 0 0\n1 1 0\n",
                    "its number of vertical angles (1e9) is not a whole number from 1 to 999."},
        RefusedCase{"negative tilt count", "TILT=INCLUDE\n1\n-4\n",
                    "its number of tilt angles (-4) is not a whole number from 0 to 36001."},
        RefusedCase{"type B", "TILT=NONE\n1 -1 1 3 1 2 1 0 0 0\n1 1 0\n",
                    "it is a type B file (photometric type 2); only type C files can be "
                    "edited."},
        RefusedCase{"type A", "TILT=NONE\n1 -1 1 3 1 3 1 0 0 0\n1 1 0\n",
                    "it is a type A file (photometric type 3); only type C files can be "
                    "edited."},
        RefusedCase{"unknown type", "TILT=NONE\n1 -1 1 3 1 7 1 0 0 0\n1 1 0\n",
                    "its photometric type (7) is none of 1, 2 and 3; only type C files can be "
                    "edited."},
        RefusedCase{"multiplied too far", "TILT=NONE\n1 -1 1e30 3 1 1 1 0 0 0\n1 1 0\n0 45 90\n0\n"
                                          "1e9 1 1\n",
                    "its candela values times its multiplier are too large to use."}));

// A German or French process locale must not change how numbers are read or
// written: the decimal point stays a full stop.
TEST(Locale, GermanNumbersStillUseAFullStop) {
  Curve curve{};
  curve[0] = 1.5f;
  curve[1] = 3.3f;
  const std::string inC = WriteIesText(curve.data());
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the build makes this locale under " << GERMAN_LOCALE_DIR;
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 1.5);
  EXPECT_STREQ(check, "1,5");  // the locale is really in force
  EXPECT_EQ(FormatTrimmed(1.5), "1.5");
  const std::string inGerman = WriteIesText(curve.data());
  const Lm63ReadResult read = ReadIesText(inGerman);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(inGerman, inC);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.curve[0], 1.5f);
  EXPECT_EQ(read.curve[1], std::sqrt(10.89f));
}

}  // namespace
