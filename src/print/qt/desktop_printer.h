// The desktop back end of the printer layer (Qt PrintSupport). A document goes to the system's default
// printer when there is one, otherwise into a new PDF file in the working folder ("Rapor1.pdf",
// "Rapor2.pdf", ...; no file is ever replaced), which is then opened with the desktop's viewer when there
// is one; EndDoc returns the file's name for the window to tell the user, and whether printers exist of
// which none is the default. The page is A4 portrait with a printable area of 200 x 287 mm from (5, 5) mm.
//
// A printer job goes by the document's name. The print system (CUPS) is asked whether the printer takes
// jobs before the document begins, and whether it took the job when it ends; a printer that refuses jobs,
// a stopped queue or a job turned down is a printer that is not ready.
//
// Fonts: "Times New Roman" and "Arial", and their "Tur" names, print in the metric-compatible Liberation
// Serif and Liberation Sans, or DejaVu Serif and DejaVu Sans where those are missing; any other installed
// family by its own name. The font list offers those four names, then the installed families.
//
// A PDF is written into a hidden temporary file of the working folder and takes its name only when the
// document has ended well; an aborted or failed document leaves no file behind, and a printer job is
// cancelled.
#pragma once

#include <memory>

#include "print/device.h"

namespace kv::print::desktop {

struct Options {
  bool systemPrinter = true;  // the system's default printer when there is one; false: always a PDF file
  bool openViewer = true;     // open a finished PDF with the desktop's viewer (xdg-open), never waiting for it
};

// A device on the desktop. It needs the program's QGuiApplication; without one, printing fails (NotReady).
std::unique_ptr<Device> makeDesktopDevice(const Options& options = {});

// Installs the desktop back end as the printer layer's back end; the program does so at its start.
void installDesktopPrinter(const Options& options = {});

}  // namespace kv::print::desktop
