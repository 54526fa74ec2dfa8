// The number format, the save name rule and the bytes of a written file.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "files/file_types.h"
#include "files/file_commands.h"
#include "files/ies_format.h"

namespace {

struct TrimmedCase {
  double value;
  const char* text;
  friend void PrintTo(const TrimmedCase& c, std::ostream* os) { *os << c.text; }
};

class FormatTrimmedTest : public testing::TestWithParam<TrimmedCase> {};

TEST_P(FormatTrimmedTest, WritesTheTrimmedFixedText) {
  EXPECT_EQ(FormatTrimmed(GetParam().value), GetParam().text);
}

// Squares are formatted from the double-precision product of the float sample.
double Squared(float sample) { return static_cast<double>(sample) * sample; }

INSTANTIATE_TEST_SUITE_P(
    Values, FormatTrimmedTest,
    testing::Values(
        TrimmedCase{180.0, "180.0"},               // an integral value keeps one zero
        TrimmedCase{0.0, "0.0"},                   // zero
        TrimmedCase{1.21, "1.21"},                 // trailing zeros go
        TrimmedCase{0.0000002, "0.0"},             // below half a millionth: 0.000000
        TrimmedCase{Squared(3.3f), "10.89"},       // rounding the square to float first
        TrimmedCase{Squared(6.6f), "43.559999"},   //   would give 10.889999, 43.559998
        TrimmedCase{Squared(4.4f), "19.360001"},   // digits past the float's
        TrimmedCase{Squared(0.001f), "0.000001"},  // a millionth survives
        TrimmedCase{Squared(10.0f), "100.0"},      // integral squares keep one zero
        TrimmedCase{Squared(100.0f), "10000.0"},
        TrimmedCase{1.0 / 128, "0.007812"},        // an exact tie rounds to even as "%f"
        TrimmedCase{-2.5, "-2.5"}));               // a sign is kept

TEST(FormatTrimmed, HoldsTheLargestSquare) {
  const std::string text = FormatTrimmed(Squared(3.4028235e38f));
  EXPECT_EQ(text.size(), 80u);  // 78 digits, the point and one zero
  EXPECT_EQ(text.substr(text.size() - 2), ".0");
}

TEST(FormatTrimmed, HoldsTheLargestDouble) {
  const std::string text = FormatTrimmed(-1.7976931348623157e308);
  EXPECT_EQ(text.size(), 312u);  // the sign, 309 digits, the point and one zero
  EXPECT_EQ(text.substr(0, 5), "-1797");
}

struct NameCase {
  const char* chosen;
  const char* saved;
  SaveFormat format = SaveFormat::kIes;
  friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.chosen; }
};

class SaveNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(SaveNameTest, AppendsTheExtensionWhenNeeded) {
  EXPECT_EQ(WithSaveExtension(GetParam().chosen, GetParam().format), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveNameTest,
    testing::Values(NameCase{"lamp.ies", "lamp.ies"},               // already there
                    NameCase{"lamp", "lamp.ies"},                   // no extension
                    NameCase{"LAMP.IES", "LAMP.IES"},               // any letter case is kept
                    NameCase{"lamp.iEs", "lamp.iEs"},
                    NameCase{"lamp.\xC4\xB0" "ES", "lamp.\xC4\xB0" "ES.ies"},  // a dotted capital I is not i
                    NameCase{"lamp.iex", "lamp.iex.ies"},           // another extension
                    NameCase{"lamp.ies.txt", "lamp.ies.txt.ies"},   // .ies not at the end
                    NameCase{".ies", ".ies"},                       // exactly the extension
                    NameCase{"abc", "abc.ies"},                     // too short to end in .ies
                    NameCase{"/tmp/a folder.ies/x", "/tmp/a folder.ies/x.ies"},
                    // The save dialog's other file types.
                    NameCase{"lamp", "lamp.ies", SaveFormat::kIes2019},
                    NameCase{"lamp", "lamp.ldt", SaveFormat::kEulumdat},
                    NameCase{"LAMP.LDT", "LAMP.LDT", SaveFormat::kEulumdat},
                    NameCase{"lamp.ies", "lamp.ldt", SaveFormat::kEulumdat}));

TEST(SaveName, HasNoLengthLimit) {
  const std::string longName = "/tmp/" + std::string(300, 'n');
  EXPECT_EQ(WithIesExtension(longName), longName + ".ies");
}

TEST(WriteIesText, WritesTheWholeFileForAKnownCurve) {
  Curve curve{};
  curve[0] = 3.3f;
  curve[9] = 10.0f;
  curve[10] = 0.001f;
  curve[180] = 4.4f;
  std::string expected =
      "IESNA:\r\nTILT=NONE\r\n1  -1  1  181  1  1  1  0.0  0.0  0.0\r\n1.00  1.00  0\r\n";
  for (int angle = 0; angle < 180; ++angle) {
    expected += std::to_string(angle) + ".0" + (angle % 10 == 9 ? "\r\n" : " ");
  }
  expected += "180.0\r\n0.0\r\n";
  expected += "10.89 0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0 100.0\r\n";
  expected += "0.000001";
  for (int i = 11; i < 180; ++i) expected += std::string(i % 10 == 0 ? "0.0" : " 0.0") + (i % 10 == 9 ? "\r\n" : "");
  expected += "19.360001 ";
  EXPECT_EQ(WriteIesText(curve.data()), expected);
}

TEST(WriteIesText, AllZerosEndsWithZeroAndOneSpace) {
  const Curve curve{};
  const std::string text = WriteIesText(curve.data());
  EXPECT_EQ(text.substr(text.size() - 6), "\r\n0.0 ");
  size_t lineEnds = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
    ++lineEnds;
  }
  EXPECT_EQ(lineEnds, 42u);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // no bare line feeds
}

}  // namespace
