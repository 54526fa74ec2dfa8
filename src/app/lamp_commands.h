#pragma once
// The Lamp menu: New lamp, Scale to flux, Scale to peak and Beam angle ask
// for their numbers in the window's number dialog, check them, and give the
// lamp they make; Keep flux while drawing is an option of the strokes. The
// dispatch records a lamp made here as one edit and redraws both halves.
//
// What the dialogs offer: New lamp a beam of 30 degrees and 1000 lm; the
// others the lamp's current flux, peak or beam. Bad input (no number, zero,
// negative, beyond the range, a result a file cannot hold) is explained in a
// message box captioned as the dialog, and changes nothing; so does OK with
// the offered text unchanged, and Cancel.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/window.h"
#include "editor/lamp.h"

struct LampCommandResult {
  bool handled = false;      // the command is one of the four dialogs' above
  std::optional<Lamp> lamp;  // the lamp it made; nothing when cancelled or refused
};

LampCommandResult RunLampCommand(uint16_t command, const Lamp& lamp, Window& window);

// The options the Lamp menu keeps for the strokes, beside the lamp.
struct DrawingOptions {
  bool keepFlux = false;
};

// Lamp > Keep flux while drawing: turns the option over and shows its check.
void ToggleKeepFlux(DrawingOptions& options, Window& window);

// The lamp a stroke leaves: `drawn`, scaled back to the flux of `before` the
// stroke while the flux is kept.
Lamp LampAfterStroke(const Lamp& before, const Lamp& drawn, const DrawingOptions& options);

// What the status bar adds while the flux is kept: "flux kept while drawing";
// empty otherwise.
std::string_view KeepFluxStatus(const DrawingOptions& options);

// What a field asks for, named in the messages about it.
struct TypedQuantity {
  std::string_view name;  // "beam angle"
  std::string_view unit;  // "degrees"
  enum Range { kAnyNumber, kAboveZero } range = kAnyNumber;
};

// The number typed in a field, read with a full stop as the decimal point in
// every locale, spaces and a plus sign allowed; nothing when the text is no
// finite number, and then `message` says so and how to type it.
std::optional<double> ParseTypedNumber(std::string_view text, const TypedQuantity& quantity,
                                       std::string& message);
