#pragma once
// Document: the lamp the window edits and the file it came from, beside the
// history and the saved state.
//
// It owns the lamp, the source file (path, format, the table as read, and
// the lamp as it was opened) and the rules of what a written file may claim:
//   - while the light is the opened file's, everything the file said carries
//     over into a written file;
//   - once it differs, the luminaire's names and its lamp carry over, the
//     claims of a measurement do not (test report, laboratory, test and
//     issue dates, absolute lumens, the file-generation type, EULUMDAT's
//     direct ratios and date): the written file names Lumistra and the date
//     where its format requires them;
//   - Reset and a new lamp start without any header of the old file.
// The diagram edits the plane at C 0 (and the planes the symmetry ties to
// it): the document gives the editor that curve and takes strokes back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lamp_commands.h"
#include "editor/lamp.h"
#include "files/file_types.h"
#include "files/ies_2019.h"
#include "files/file_commands.h"
#include "files/photometry.h"

class Document : public SaveContent {
 public:
  const Lamp& lamp() const { return lamp_; }
  // For the history's undo and redo, and the commands that reshape the lamp.
  Lamp& lamp() { return lamp_; }

  // A file was opened: its lamp (every plane resampled onto whole degrees)
  // replaces the lamp, and the file becomes the source.
  void Open(std::string path, PhotometricFile file);

  // A new drawing (Reset, a lamp made by the numbers): `lamp`, and no header
  // of the old file in what is written.
  void StartNew(const Lamp& lamp);

  // The lamp scaled to a flux or a peak as a whole: the same light in
  // another amount, which a written file says (its file-generation type).
  void Scale(const Lamp& scaled);

  // The header a written file may claim now, by the rules above.
  Photometry Carried() const;

  // The save dialog's starting type: the format last saved or opened
  // (LM-63-2019 for an opened LM-63 file), "IES" for a drawn lamp.
  SaveFormat SaveFormatNow() const { return saveFormat_; }
  void Saved(SaveFormat format) { saveFormat_ = format; }

  // The section the diagram shows: the plane C on its right half (0 <= C <
  // 180), C + 180 on its left. While the lamp's planes are all equal and it
  // was not turned, the diagram shows one curve, and a stroke changes every
  // plane alike, as for a drawn lamp; otherwise it shows the section.
  double sectionC() const { return sectionC_; }
  bool BySections() const { return turned_ || !lamp_.AllPlanesEqual(); }

  // Page Down (+1) and Page Up (-1): the next or previous C-angle of the
  // lamp, its symmetry expanded round the circle, in 0 <= C < 180, wrapping.
  // A lamp of one plane first becomes four copies of it at C 0, 90, 180 and
  // 270 without symmetry, so that each section can be drawn on its own.
  void TurnSection(int step);

  // The right half's curve, and the left half's when the section's two
  // halves are different planes.
  Curve EditedCurve() const { return CurveAt(lamp_, sectionC_); }
  std::optional<Curve> LeftCurve() const;
  // The editor's curves as the section shows them.
  void ShowSection(Curve& right, std::optional<Curve>& left) const;
  // A stroke's curves into the planes of the section (and those the
  // symmetry ties to them), or into every plane while not by sections.
  void TakeEditedCurve(const Curve& curve, const std::optional<Curve>& left = std::nullopt);

  // "lamp.ies: 12 planes; editing the section C 0° | 180°" while the lamp
  // has several planes, else empty.
  std::string PlaneNote() const;
  // "section C 30° | 210°" while by sections, else empty; appended to
  // `out` without allocating once its storage has grown.
  std::string SectionText() const;
  void AppendSectionText(std::string& out) const;

  // What the Lamp menu sets for the strokes (Keep flux while drawing).
  DrawingOptions& drawingOptions() { return drawingOptions_; }
  const DrawingOptions& drawingOptions() const { return drawingOptions_; }

  // The source's path, empty for a drawn lamp.
  std::string_view sourcePath() const { return source_ ? std::string_view(source_->path) : std::string_view(); }

  // SaveContent: what Save and convert write. NotWritten tells each format's
  // losses once per source.
  std::string NotWritten(SaveFormat format) override;
  std::string Bytes(SaveFormat format, std::string_view path) const override;

 private:
  struct Source {
    std::string path;
    FileFormat format = FileFormat::kLm63;
    Photometry table;  // the file as read
    Lamp opened;       // its lamp as opened
    bool resampled = false;  // its angles are not the whole degrees of the lamp
  };

  // Whether the light is the source's, perhaps scaled as a whole.
  bool LightIsTheSources() const;
  LightOrigin Origin() const;

  Lamp lamp_;
  std::optional<Source> source_;
  bool namesCarried_ = false;  // false after Reset and for a drawn lamp
  std::optional<Lamp> scaled_;  // the source's lamp as Scale left it
  double sectionC_ = 0.0;
  bool turned_ = false;  // Page Down or Up was pressed on this lamp
  SaveFormat saveFormat_ = SaveFormat::kIes;
  unsigned toldFormats_ = 0;   // a bit per SaveFormat whose losses were told
  DrawingOptions drawingOptions_;
};
