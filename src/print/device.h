// What the printer layer needs of a back end: one print job on a printer or into a file. The Printer
// (printer.h) keeps the state the reports set (font, scale, current position) and asks its device for the
// rest. Lengths are millimetres from the top left corner of the printable area; texts and font names are
// Windows-1254, converted by the back end.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv::print {

struct Font {
  std::string name;  // Windows-1254
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// Every failure of the printer layer: the caller catches it, tells the user and goes on. By the time it
// is thrown, the document it ended is aborted (nothing of it reaches paper or a file).
class PrinterError : public std::runtime_error {
 public:
  enum class Kind {
    NotReady,  // no printer, or the printer refused the job
    NoFont,    // a font the printer does not have
    File,      // the file a document goes into could not be written
  };
  PrinterError(Kind kind, const std::string& detail) : std::runtime_error(detail), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// Where a finished document went.
struct PrintedDocument {
  int pages = 0;
  std::string printer;  // the printer's name (Windows-1254) when it went to a printer
  std::string file;     // else the name of the PDF file in the working folder (Windows-1254)
  bool noDefaultPrinter = false;  // into the file although printers exist: none of them is the default
};

struct PageArea {
  double width = 0;  // millimetres
  double height = 0;
};

class Device {
 public:
  virtual ~Device() = default;

  // Any of these may throw PrinterError.
  virtual std::vector<std::string> fonts() = 0;
  virtual PageArea printableArea() = 0;
  virtual double textWidth(const Font& font, std::string_view text) = 0;
  virtual double lineHeight(const Font& font) = 0;  // the height of one line of text, leading included

  // Whether the printer takes a job now; asked before a document begins. A printer that refuses jobs, or
  // whose queue is stopped, would lose or hold the document while the program said it printed.
  virtual bool takesJobs() = 0;
  // The document: begun under its name in the print queue (Windows-1254) before its first page is drawn
  // on; each text's point is its top left.
  virtual void begin(std::string_view name) = 0;
  virtual void text(double x, double y, const Font& font, std::string_view text) = 0;
  virtual void line(double x1, double y1, double x2, double y2) = 0;
  virtual void newPage() = 0;
  virtual PrintedDocument end() = 0;
  // Throws the document away; also after a failure of any call, and when nothing was begun.
  virtual void abort() noexcept = 0;
};

// The back end the program prints on: a new device per document. The program installs the desktop back
// end at its start (print/qt/desktop_printer.h), tests a RecordingPrinter (recording_printer.h). Returns
// the factory that was installed before; an empty one means no printer (PrinterError NotReady).
using DeviceFactory = std::function<std::unique_ptr<Device>()>;
DeviceFactory setDeviceFactory(DeviceFactory factory);

// A device of the installed back end; throws PrinterError NotReady when there is none.
std::unique_ptr<Device> makeDevice();

}  // namespace kv::print
