// The printer, as the reports and lists print on it: fonts, a scale, a current position, texts and lines,
// pages, the end of the document. Written as the original wrote it:
//
//   print::Printer Printer;                        // one per print command
//   try {
//     Printer.ScaleMode = print::Scale::Millimetre;
//     Printer.FontName = "Arial"; Printer.FontSize = 11;
//     Printer.CurrentX = 10; Printer.CurrentY = 18;
//     Printer.Print(text, Printer.Stay);           // stays on the line; Print(text) ends it
//     Printer.Line(10, y, 196, y);
//     if (Printer.CurrentY > Printer.ScaleHeight() - 20) Printer.NewPage();
//     print::PrintedDocument done = Printer.EndDoc();  // done.file: the PDF's name, when it went into one
//   } catch (const print::PrinterError&) { ... }   // the document is already aborted
//
// A document begins with the first text, line or new page and ends with EndDoc; KillDoc throws it away.
// A printer that takes no jobs fails (NotReady) as the document begins, before anything is drawn.
// A failure of any call throws PrinterError after aborting the document, so a failed job never reaches
// paper or a file and never runs into the next one; a document that is neither ended nor killed when the
// Printer goes (an error of the caller's own between the calls) is aborted then. Each document is a new
// job on the back end installed with setDeviceFactory (device.h).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/property.h"
#include "print/device.h"

namespace kv::print {

// ScaleMode values: the unit of coordinates and text metrics.
namespace Scale {
inline constexpr int Twip = 1;
inline constexpr int Point = 2;
inline constexpr int Inch = 5;
inline constexpr int Millimetre = 6;
inline constexpr int Centimetre = 7;
}  // namespace Scale

enum class PrintEnd { NewLine, Stay };

class Printer {
 public:
  // Each document of this printer goes by `documentName` in the print queue (Windows-1254).
  explicit Printer(std::string documentName = {});
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

 private:
  const std::string& fontName() const { return font_.name; }
  void setFontName(const std::string& v) { font_.name = v; }
  double fontSize() const { return font_.size; }
  void setFontSize(const double& v) { font_.size = v; }
  bool fontBold() const { return font_.bold; }
  void setFontBold(const bool& v) { font_.bold = v; }
  bool fontItalic() const { return font_.italic; }
  void setFontItalic(const bool& v) { font_.italic = v; }
  int scaleMode() const { return scaleMode_; }
  void setScaleMode(const int& v);
  double currentX() const { return x_ * unitsPerMm_; }
  void setCurrentX(const double& v) { x_ = v / unitsPerMm_; }
  double currentY() const { return y_ * unitsPerMm_; }
  void setCurrentY(const double& v) { y_ = v / unitsPerMm_; }

 public:
  // The font of what is printed and measured next (name in Windows-1254, size in points). A name the
  // printer does not have fails (NoFont) when it is used.
  Property<Printer, std::string, &Printer::fontName, &Printer::setFontName> FontName{this};
  Property<Printer, double, &Printer::fontSize, &Printer::setFontSize> FontSize{this};
  Property<Printer, bool, &Printer::fontBold, &Printer::setFontBold> FontBold{this};
  Property<Printer, bool, &Printer::fontItalic, &Printer::setFontItalic> FontItalic{this};
  // Twips at first; an unknown mode is a programming error (std::invalid_argument).
  Property<Printer, int, &Printer::scaleMode, &Printer::setScaleMode> ScaleMode{this};
  // From the top left corner of the printable area.
  Property<Printer, double, &Printer::currentX, &Printer::setCurrentX> CurrentX{this};
  Property<Printer, double, &Printer::currentY, &Printer::setCurrentY> CurrentY{this};

  // The fonts the printer offers, by index from 0 (std::out_of_range beyond the count).
  int FontCount();
  std::string Fonts(int index);

  // The printable area in the scale's unit.
  double ScaleWidth();
  double ScaleHeight();
  // In the current font and the scale's unit; the height is that of one line, whatever the text.
  double TextWidth(std::string_view text);
  double TextHeight(std::string_view text = "");

  static constexpr PrintEnd Stay = PrintEnd::Stay;
  // Prints at the current position (its top left); then the position moves to the end of the text (Stay),
  // or the line ends: x 0 and y one line of the current font further down.
  void Print(std::string_view text = "", PrintEnd end = PrintEnd::NewLine);
  // A line; the current position moves to its end.
  void Line(double x1, double y1, double x2, double y2);
  // Ends the page; the next one starts with the position at 0, 0.
  void NewPage();
  // Hands the document over (to the printer, or into a new PDF file) and returns where it went; with
  // nothing printed there is no document and nothing goes anywhere. The position goes back to 0, 0.
  PrintedDocument EndDoc();
  // Throws the document away; nothing of it is printed or kept.
  void KillDoc() noexcept;

  // A document is begun and neither ended nor killed.
  bool Printing() const { return begun_; }

 private:
  Device& device();
  void beginDocument();
  double mm(double v) const { return v / unitsPerMm_; }
  double units(double v) const { return v * unitsPerMm_; }
  // Runs a call of the device; a failure aborts the document before it goes on to the caller.
  template <class Call>
  auto guarded(Call&& call);

  std::string documentName_;
  std::unique_ptr<Device> device_;
  bool begun_ = false;
  std::optional<std::vector<std::string>> fonts_;
  Font font_{"Arial", 10, false, false};
  int scaleMode_ = Scale::Twip;
  double unitsPerMm_ = 1440 / 25.4;
  double x_ = 0, y_ = 0;  // millimetres
};

}  // namespace kv::print
