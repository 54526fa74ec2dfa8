#pragma once
// What `check` says about a photometric file: findings as values, each a
// severity, a short rule name that stays the same from version to version
// ("angles-ascending"), and one line of text naming the line or value.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class Severity {
  kError,    // the file breaks its format's rules or cannot describe a lamp
  kWarning,  // readers disagree on it, or it is doubtful
};

struct Finding {
  Severity severity = Severity::kError;
  std::string rule;
  std::string message;
};

// The findings of one file, in the order the checks make them.
class Findings {
 public:
  void Add(Severity severity, std::string_view rule, std::string message);
  void Error(std::string_view rule, std::string message) {
    Add(Severity::kError, rule, std::move(message));
  }
  void Warning(std::string_view rule, std::string message) {
    Add(Severity::kWarning, rule, std::move(message));
  }
  // For a rule that may trip on many lines: the first occurrence is kept
  // and the others counted, so that a file of 10 000 bad lines gives one
  // finding ("line 12 ...; 9 999 more like it").
  // The message is made only for the first.
  template <typename MakeMessage>
  void AddRepeated(Severity severity, std::string_view rule, MakeMessage makeMessage) {
    if (!CountAgain(severity, rule)) Add(severity, rule, makeMessage());
  }

  bool HasError() const;
  std::vector<Finding> Take();

 private:
  // Counts one more occurrence of an entry with this rule; false when none.
  bool CountAgain(Severity severity, std::string_view rule);

  std::vector<Finding> list_;
  std::vector<size_t> more_;  // per entry of list_, the occurrences counted after it
};
