#include "print/qt/desktop_printer.h"

#include <cups/cups.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <deque>

#include "base/text.h"
#include "files/files.h"

namespace kv::print::desktop {

namespace {

constexpr double kMarginMm = 5;
constexpr double kRuleWidthMm = 0.15;

// What the print system says of a printer ("name" or "name/instance", as Qt names it): whether it takes
// jobs, that is accepts them and is not stopped. A printer it cannot tell about takes none.
bool cupsTakesJobs(const QString& printer) {
  const QByteArray name = printer.section(u'/', 0, 0).toLocal8Bit();
  const QByteArray instance = printer.section(u'/', 1).toLocal8Bit();
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                       instance.isEmpty() ? nullptr : instance.constData());
  if (!dest) return false;
  const auto is = [dest](const char* attribute, std::string_view value) {
    const char* v = cupsGetOption(attribute, dest->num_options, dest->options);
    return v && v == value;
  };
  const bool takes = !is("printer-is-accepting-jobs", "false") && !is("printer-state", "5");  // 5: stopped
  cupsFreeDests(1, dest);
  return takes;
}

QString qtText(std::string_view cp1254) {
  QString s;
  s.reserve(static_cast<qsizetype>(cp1254.size()));
  for (unsigned char c : cp1254) s.append(QChar(static_cast<char16_t>(cp1254ToUnicode(c))));
  return s;
}

struct WindowsFont {
  const char* name;
  const char* families[2];  // in order of preference
};
constexpr WindowsFont kWindowsFonts[] = {
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}},
    {"Times New Roman Tur", {"Liberation Serif", "DejaVu Serif"}},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}},
    {"Arial Tur", {"Liberation Sans", "DejaVu Sans"}},
};

class DesktopDevice : public Device {
 public:
  explicit DesktopDevice(const Options& options);
  ~DesktopDevice() override { abort(); }

  std::vector<std::string> fonts() override;
  PageArea printableArea() override;
  bool takesJobs() override { return !printer_ || cupsTakesJobs(printer_->printerName()); }
  double textWidth(const Font& font, std::string_view text) override {
    return face(font).metrics.horizontalAdvance(qtText(text)) / pxPerMm_;
  }
  double lineHeight(const Font& font) override { return face(font).metrics.lineSpacing() / pxPerMm_; }

  void begin(std::string_view name) override;
  void text(double x, double y, const Font& font, std::string_view text) override;
  void line(double x1, double y1, double x2, double y2) override {
    painter_.drawLine(QPointF(x1 * pxPerMm_, y1 * pxPerMm_), QPointF(x2 * pxPerMm_, y2 * pxPerMm_));
  }
  void newPage() override;
  PrintedDocument end() override;
  void abort() noexcept override;

 private:
  struct Face {
    Font font;
    QFont qfont;
    QFontMetricsF metrics;
  };
  const Face& face(const Font& font);
  QString family(const std::string& name) const;
  // A failure of the job: the printer is not ready, or the file could not be written.
  [[noreturn]] void fail(const std::string& what) const {
    throw PrinterError(printer_ ? PrinterError::Kind::NotReady : PrinterError::Kind::File, what);
  }
  void checkFile() const {
    if (file_ && file_->error() != QFileDevice::NoError)
      fail("cannot write the PDF file: " + file_->errorString().toStdString());
  }

  QStringList installed_;
  Options options_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QTemporaryFile> file_;
  std::unique_ptr<QPdfWriter> pdf_;
  QPagedPaintDevice* paper_ = nullptr;
  QPainter painter_;
  double pxPerMm_ = 1;
  std::deque<Face> faces_;
  const Face* painterFace_ = nullptr;
  int pages_ = 0;
  bool noDefaultPrinter_ = false;
};

DesktopDevice::DesktopDevice(const Options& options) : options_(options) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    throw PrinterError(PrinterError::Kind::NotReady, "printing needs the desktop");
  installed_ = QFontDatabase::families();
  const QPrinterInfo system = options.systemPrinter ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
  if (!system.isNull()) {
    printer_ = std::make_unique<QPrinter>(system, QPrinter::HighResolution);
    paper_ = printer_.get();
  } else {
    noDefaultPrinter_ = options.systemPrinter && !QPrinterInfo::availablePrinterNames().isEmpty();
    const QDir folder(QFile::decodeName(workingFolder().c_str()));
    file_ = std::make_unique<QTemporaryFile>(folder.filePath(QStringLiteral(".Rapor-XXXXXX.part")));
    pdf_ = std::make_unique<QPdfWriter>(file_.get());
    pdf_->setCreator(QStringLiteral("KALVOR 952"));
    // Fonts take whole device pixels, as on a printer: at 1200 dpi a size is off by 0.2 % at most, and
    // finer resolutions make FreeType's work several times slower.
    pdf_->setResolution(1200);
    paper_ = pdf_.get();
  }
  const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
  // A printer that cannot print so near the edge keeps its own margins on the A4 page.
  if (!paper_->setPageLayout(a4)) {
    paper_->setPageSize(QPageSize(QPageSize::A4));
    paper_->setPageOrientation(QPageLayout::Portrait);
  }
  pxPerMm_ = paper_->logicalDpiX() / 25.4;
}

std::vector<std::string> DesktopDevice::fonts() {
  std::vector<std::string> list;
  for (const WindowsFont& f : kWindowsFonts) list.emplace_back(f.name);
  for (const QString& name : installed_)
    if (auto own = fromUtf8(name.toStdString())) list.push_back(*own);  // a name the program can write
  return list;
}

PageArea DesktopDevice::printableArea() {
  const QRectF area = paper_->pageLayout().paintRect(QPageLayout::Millimeter);
  return {area.width(), area.height()};
}

QString DesktopDevice::family(const std::string& name) const {
  for (const WindowsFont& f : kWindowsFonts) {
    if (name != f.name) continue;
    for (const char* candidate : f.families)
      if (installed_.contains(QLatin1String(candidate), Qt::CaseInsensitive)) return QLatin1String(candidate);
    return {};
  }
  const QString own = qtText(name);
  return installed_.contains(own, Qt::CaseInsensitive) ? own : QString();
}

const DesktopDevice::Face& DesktopDevice::face(const Font& font) {
  for (const Face& f : faces_)
    if (f.font == font) return f;
  const QString name = family(font.name);
  if (name.isEmpty()) throw PrinterError(PrinterError::Kind::NoFont, "no font to print \"" + font.name + "\" in");
  QFont q(name);
  q.setPointSizeF(font.size);
  q.setBold(font.bold);
  q.setItalic(font.italic);
  q.setHintingPreference(QFont::PreferNoHinting);  // the metrics of the page, not of a screen
  faces_.push_back({font, q, QFontMetricsF(q, paper_)});
  return faces_.back();
}

void DesktopDevice::begin(std::string_view name) {
  if (printer_) printer_->setDocName(qtText(name));
  if (file_ && !file_->open())
    fail("cannot create a file in the working folder: " + file_->errorString().toStdString());
  if (!painter_.begin(paper_)) fail(printer_ ? "the printer does not take the job" : "cannot begin the PDF file");
  QPen rule(Qt::black);
  rule.setWidthF(kRuleWidthMm * pxPerMm_);
  painter_.setPen(rule);
  pages_ = 1;
}

void DesktopDevice::text(double x, double y, const Font& font, std::string_view text) {
  const Face& f = face(font);
  if (&f != painterFace_) {
    painter_.setFont(f.qfont);
    painterFace_ = &f;
  }
  painter_.drawText(QPointF(x * pxPerMm_, y * pxPerMm_ + f.metrics.ascent()), qtText(text));
}

void DesktopDevice::newPage() {
  if (!paper_->newPage()) fail("cannot start a new page");
  checkFile();
  ++pages_;
}

PrintedDocument DesktopDevice::end() {
  if (!painter_.end()) fail("the document could not be finished");
  if (printer_) {
    if (printer_->printerState() == QPrinter::Error) fail("the printer refused the document");
    // Qt hands the ended document to the print system and keeps no account of its answer; the print
    // system keeps the last answer it gave this thread.
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
      fail(std::string("the print system did not take the job: ") + cupsLastErrorString());
    return {pages_, fromUtf8(printer_->printerName().toStdString()).value_or("?"), ""};
  }
  checkFile();
  if (!file_->flush() || ::fsync(file_->handle()) != 0) fail("cannot write the PDF file to the disk");
  file_->close();
  std::string name;
  try {
    name = renameToNewName(*fromUtf8(QFileInfo(file_->fileName()).fileName().toStdString()), "Rapor", "pdf");
  } catch (const FileError& e) {
    fail(e.what());
  }
  file_->setAutoRemove(false);  // it has its name now
  const QString path = QDir(QFile::decodeName(workingFolder().c_str())).filePath(qtText(name));
  const QString viewer = options_.openViewer ? QStandardPaths::findExecutable(QStringLiteral("xdg-open")) : QString();
  if (!viewer.isEmpty()) QProcess::startDetached(viewer, {path});
  return {pages_, "", name, noDefaultPrinter_};
}

void DesktopDevice::abort() noexcept {
  if (printer_ && painter_.isActive()) printer_->abort();
  if (painter_.isActive()) painter_.end();
  if (file_ && file_->autoRemove() && !file_->fileName().isEmpty()) file_->remove();
}

}  // namespace

std::unique_ptr<Device> makeDesktopDevice(const Options& options) { return std::make_unique<DesktopDevice>(options); }

void installDesktopPrinter(const Options& options) {
  setDeviceFactory([options] { return makeDesktopDevice(options); });
}

}  // namespace kv::print::desktop
