#pragma once
// Small LM-63 files for the tests, laid out from their parts.

#include <string>
#include <vector>

struct TestIesFile {
  std::string before = "IESNA:LM-63-2002\n[TEST] made by a test\n";
  std::string tiltLine = "TILT=NONE";
  std::string tiltData;  // the lines after TILT=INCLUDE
  std::string multiplier = "1";
  std::string photometricType = "1";
  std::vector<double> vertical;
  std::vector<double> horizontal = {0};
  std::vector<std::vector<double>> candela;  // one list per horizontal angle
  std::string lineEnd = "\n";

  std::string Text() const {
    std::string text = before + tiltLine + lineEnd + tiltData;
    text += "1 -1 " + multiplier + " " + std::to_string(vertical.size()) + " " +
            std::to_string(horizontal.size()) + " " + photometricType + " 1 0 0 0" + lineEnd;
    text += "1.0 1.0 0" + lineEnd;
    auto list = [&](const std::vector<double>& values) {
      for (double v : values) text += Number(v) + " ";
      text += lineEnd;
    };
    list(vertical);
    list(horizontal);
    for (const auto& plane : candela) list(plane);
    return text;
  }

  static std::string Number(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    return buffer;
  }
};
