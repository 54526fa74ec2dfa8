#include "check/findings.h"

#include <algorithm>

void Findings::Add(Severity severity, std::string_view rule, std::string message) {
  list_.push_back({severity, std::string(rule), std::move(message)});
  more_.push_back(0);
}

bool Findings::CountAgain(Severity severity, std::string_view rule) {
  for (size_t i = 0; i < list_.size(); ++i) {
    if (list_[i].rule == rule && list_[i].severity == severity) {
      ++more_[i];
      return true;
    }
  }
  return false;
}

bool Findings::HasError() const {
  return std::ranges::any_of(list_,
                             [](const Finding& f) { return f.severity == Severity::kError; });
}

std::vector<Finding> Findings::Take() {
  for (size_t i = 0; i < list_.size(); ++i) {
    if (more_[i] > 0) list_[i].message += "; " + std::to_string(more_[i]) + " more like it";
  }
  more_.clear();
  return std::move(list_);
}
