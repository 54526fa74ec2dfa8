#pragma once
// The main window's status bar: the three status texts in three labels, the
// pointer's on the left, the curve's and the light's on the right.
//
// The pointer's label keeps the width of its longest usual text, so that a
// pointer move never moves the fields beside it; the curve's and the light's
// want the width of what they show. The bar's height never changes, so the
// views above it keep their size. Where the bar is narrower than all three,
// they get their room in order of priority (the pointer's, the curve's, the
// light's; while a note stands, the light's before the curve's), and a text
// without the room it needs drops its last parts for an ellipsis.

#include <QLabel>
#include <QStatusBar>

#include "app/dispatch.h"
#include "app/status_text.h"

class FieldLabel;
class FieldRow;

class StatusFields final : public QObject {
 public:
  // Adds the labels to `bar`; watches `client` for the pointer leaving it.
  StatusFields(QStatusBar& bar, QWidget& client, const DistributionEditor& editor, const Document& document);

  // Shows the texts of the editor as an event has left it.
  void Follow(const AppEvent& event);

  // Shows `text` in the pointer's field until the next pointer move.
  void ShowNote(std::string_view text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows the editor's texts; `rearrange`: the fields are placed anew
  // whatever changed.
  void Show(bool rearrange);

  const DistributionEditor& editor_;
  const Document& document_;  // the lamp whose numbers the fields show
  QWidget& client_;
  FieldRow* row_;
  FieldLabel* pointer_;
  FieldLabel* curve_;
  FieldLabel* lamp_;
  bool noteShown_ = false;  // a note stands in the pointer's field
  bool pointerInside_ = false;  // from a move over the client area until it leaves
  StatusTexts texts_, shown_;
};
