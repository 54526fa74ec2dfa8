#include "app/lamp_commands.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "app/ui_text.h"
#include "measure/curve_numbers.h"
#include "measure/lamp_numbers.h"
#include "measure/lamp_shaping.h"

namespace {

constexpr double kNewLampBeam = 30.0;
constexpr std::string_view kNewLampFlux = "1000";

// A beam's range is the shaping's to check, with its own message.
constexpr TypedQuantity kBeam{"beam angle", "degrees", TypedQuantity::kAnyNumber};
constexpr TypedQuantity kFlux{"luminous flux", "lm", TypedQuantity::kAboveZero};
constexpr TypedQuantity kPeak{"peak intensity", "cd", TypedQuantity::kAboveZero};
constexpr std::string_view kNoLight =
    "The lamp gives no light yet: draw a curve or make a new lamp first.";

// A number as the dialogs offer it: six significant digits, without an
// exponent, a full stop as the decimal point ("8749.12", "1000000").
std::string OfferedNumber(double value) {
  char text[64];
  const auto rounded = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
  if (rounded.ec == std::errc()) std::from_chars(text, rounded.ptr, value);
  const auto fixed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return fixed.ec == std::errc() ? std::string(text, fixed.ptr) : std::string();
}

// A number typed for `quantity`, or nothing after a message.
std::optional<double> AskedNumber(const std::string& text, const TypedQuantity& quantity,
                                  std::string_view caption, Window& window) {
  std::string message;
  std::optional<double> value = ParseTypedNumber(text, quantity, message);
  if (value && quantity.range == TypedQuantity::kAboveZero && !(*value > 0.0)) {
    message = "The " + std::string(quantity.name) + " must be more than 0 " +
              std::string(quantity.unit) + ", not " + OfferedNumber(*value) + ".";
    value.reset();
  }
  if (!value) window.ShowMessage(message, caption);
  return value;
}

// The lamp a shaping gave, or nothing after its message.
std::optional<Lamp> Shaped(LampResult result, std::string_view caption, Window& window) {
  if (!result.lamp) window.ShowMessage(result.error, caption);
  return std::move(result.lamp);
}

std::optional<Lamp> NewLamp(Window& window) {
  std::array<AskedField, 2> fields{AskedField{TEXT_BEAM_ANGLE_LABEL, OfferedNumber(kNewLampBeam)},
                                   AskedField{TEXT_FLUX_LABEL, std::string(kNewLampFlux)}};
  if (!window.AskFields(TEXT_NEW_LAMP_CAPTION, fields)) return std::nullopt;
  const std::optional<double> beam = AskedNumber(fields[0].text, kBeam, TEXT_NEW_LAMP_CAPTION, window);
  if (!beam) return std::nullopt;
  const std::optional<double> lumens = AskedNumber(fields[1].text, kFlux, TEXT_NEW_LAMP_CAPTION, window);
  if (!lumens) return std::nullopt;
  return Shaped(NewSpotLamp(*beam, *lumens), TEXT_NEW_LAMP_CAPTION, window);
}

// Scale to flux and Scale to peak: `now` is the lamp's flux or peak.
std::optional<Lamp> ScaleLamp(const Lamp& lamp, uint16_t command, Window& window) {
  const bool toFlux = command == IDM_SCALE_TO_FLUX;
  const char* caption = toFlux ? TEXT_SCALE_TO_FLUX_CAPTION : TEXT_SCALE_TO_PEAK_CAPTION;
  const LampNumbers numbers = MeasureLamp(lamp);
  const double now = toFlux ? numbers.fluxLm : numbers.peakCd;
  if (!(now > 0.0)) {
    window.ShowMessage(kNoLight, caption);
    return std::nullopt;
  }
  const std::string offered = OfferedNumber(now);
  std::array<AskedField, 1> field{AskedField{toFlux ? TEXT_FLUX_LABEL : TEXT_PEAK_LABEL, offered}};
  if (!window.AskFields(caption, field) || field[0].text == offered) return std::nullopt;
  const std::optional<double> target = AskedNumber(field[0].text, toFlux ? kFlux : kPeak, caption, window);
  if (!target) return std::nullopt;
  return Shaped(toFlux ? LampScaledToFlux(lamp, *target) : LampScaledToPeak(lamp, *target), caption,
                window);
}

std::optional<Lamp> StretchLamp(const Lamp& lamp, Window& window) {
  if (const std::optional<std::string> why = NoBeamAngleReason(lamp)) {
    window.ShowMessage(*why, TEXT_BEAM_ANGLE_CAPTION);
    return std::nullopt;
  }
  const double beam = MeasureLamp(lamp).beamAngle.value_or(0.0);
  const std::string offered = OfferedNumber(std::round(beam * 10.0) / 10.0);
  std::array<AskedField, 1> field{AskedField{TEXT_BEAM_ANGLE_LABEL, offered}};
  if (!window.AskFields(TEXT_BEAM_ANGLE_CAPTION, field) || field[0].text == offered) return std::nullopt;
  const std::optional<double> asked = AskedNumber(field[0].text, kBeam, TEXT_BEAM_ANGLE_CAPTION, window);
  if (!asked) return std::nullopt;
  return Shaped(WithBeamAngle(lamp, *asked), TEXT_BEAM_ANGLE_CAPTION, window);
}

}  // namespace

std::optional<double> ParseTypedNumber(std::string_view text, const TypedQuantity& quantity,
                                       std::string& message) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  const std::string_view number =
      first == std::string_view::npos ? std::string_view() : text.substr(first, last - first + 1);
  const std::string_view digits = number.starts_with('+') ? number.substr(1) : number;
  double value = 0.0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  if (!digits.empty() && error == std::errc() && stop == end && std::isfinite(value)) return value;
  message.clear();
  if (!number.empty()) message.append("\"").append(number).append("\" is not a number. ");
  message.append("Type the ").append(quantity.name).append(" in ").append(quantity.unit);
  message.append(number.empty() ? "." : " as digits, with a full stop for decimals: 30 or 12.5, for example.");
  return std::nullopt;
}

LampCommandResult RunLampCommand(uint16_t command, const Lamp& lamp, Window& window) {
  switch (command) {
    case IDM_NEW_LAMP:
      return {true, NewLamp(window)};
    case IDM_SCALE_TO_FLUX:
    case IDM_SCALE_TO_PEAK:
      return {true, ScaleLamp(lamp, command, window)};
    case IDM_BEAM_ANGLE:
      return {true, StretchLamp(lamp, window)};
    default:
      return {};
  }
}

void ToggleKeepFlux(DrawingOptions& options, Window& window) {
  options.keepFlux = !options.keepFlux;
  window.ShowMenuCheck(IDM_KEEP_FLUX, options.keepFlux);
}

Lamp LampAfterStroke(const Lamp& before, const Lamp& drawn, const DrawingOptions& options) {
  return options.keepFlux ? FluxKept(before, drawn) : drawn;
}

std::string_view KeepFluxStatus(const DrawingOptions& options) {
  return options.keepFlux ? "flux kept while drawing" : "";
}
