#pragma once
// The main window's status bar: the three status texts in three labels, the
// pointer's on the left, the curve's and the light's permanent on the right.
//
// The labels' size hints are fixed when they are made, so a new text never
// changes the bar's layout, and the views above it keep their size.

#include <QLabel>
#include <QStatusBar>

#include "app/dispatch.h"
#include "app/status_text.h"

class StatusFields final : public QObject {
 public:
  // Adds the labels to `bar`; watches `client` for the pointer leaving it.
  StatusFields(QStatusBar& bar, QWidget& client, const DistributionEditor& editor, const Lamp& lamp);

  // Shows the texts of the editor as an event has left it.
  void Follow(const AppEvent& event);

  // Shows `text` in the pointer's field until the next pointer move.
  void ShowNote(std::string_view text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Show();

  const DistributionEditor& editor_;
  const Lamp& shownLamp_;  // the document's lamp, whose numbers the fields show
  QWidget& client_;
  QLabel* pointer_;
  QLabel* curve_;
  QLabel* lamp_;
  bool noteShown_ = false;  // a note stands in the pointer's field
  bool pointerInside_ = false;  // from a move over the client area until it leaves
  StatusTexts texts_, shown_;
};
