// The back end of the tests: records every document, page by page, with fixed metrics, so that a test
// checks every text and line by its position; a failure can be made to happen at any call.
//
//   print::RecordingPrinter printed;               // installed while it lives (declare it before the Printer)
//   printed.failAt(print::DeviceCall::NewPage, 2); // the second new page fails: the printer is not ready
//   ... the code under test prints ...
//   const print::RecordedDocument& doc = printed.documents().back();
//   doc.state == print::RecordedDocument::State::Ended, doc.pages[0].texts[0].x, .font.name, ...
#pragma once

#include <string>
#include <vector>

#include "print/device.h"

namespace kv::print {

struct RecordedText {
  double x = 0, y = 0;  // millimetres: the text's top left
  std::string text;     // Windows-1254
  Font font;
};

struct RecordedLine {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct RecordedPage {
  std::vector<RecordedText> texts;
  std::vector<RecordedLine> lines;
};

struct RecordedDocument {
  enum class State { Open, Ended, Aborted };
  State state = State::Open;
  std::string name;                 // in the print queue (Windows-1254)
  std::vector<RecordedPage> pages;  // a document has its first page when it begins
};

// The calls a back end gets (device.h); Any counts them all.
enum class DeviceCall { Any, Fonts, Area, Measure, Begin, Text, Line, NewPage, End };

class RecordingPrinter {
 public:
  // The fixed metrics, in millimetres: every character, bold or italic or not, is a quarter of the font's
  // size wide and a line is half of it high (11 points: 2.75 and 5.5). Binary fractions, so that sums of
  // widths compare exactly. The printable area is 200 x 287, as on the desktop's A4 page.
  static constexpr double kCharWidthPerPoint = 0.25;
  static constexpr double kLineHeightPerPoint = 0.5;
  static constexpr PageArea kArea{200, 287};

  // Installs itself as the back end; the one installed before comes back when it goes.
  RecordingPrinter();
  ~RecordingPrinter();
  RecordingPrinter(const RecordingPrinter&) = delete;
  RecordingPrinter& operator=(const RecordingPrinter&) = delete;

  // The font list the printer offers; measuring or printing in a font that is not in it fails (NoFont).
  std::vector<std::string> fonts{"Arial", "Times New Roman"};
  // Whether the printer takes jobs; one that does not fails every document as it begins (NotReady).
  bool takesJobs = true;

  // The `occurrence`-th call of that kind from now on (1 = the next one) throws PrinterError of `kind`.
  void failAt(DeviceCall call, int occurrence = 1, PrinterError::Kind kind = PrinterError::Kind::NotReady);

  const std::vector<RecordedDocument>& documents() const { return documents_; }
  // Calls of a kind so far.
  int calls(DeviceCall call) const { return counts_[static_cast<int>(call)]; }

 private:
  friend class RecordingDevice;
  struct Failure {
    DeviceCall call;
    int at;  // the count of that call that fails
    PrinterError::Kind kind;
  };
  // Counts a call; throws when a failure is due.
  void count(DeviceCall call);

  DeviceFactory previous_;
  std::vector<RecordedDocument> documents_;
  std::vector<Failure> failures_;
  int counts_[9] = {};
};

}  // namespace kv::print
