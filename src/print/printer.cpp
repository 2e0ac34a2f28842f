#include "print/printer.h"

#include <stdexcept>
#include <utility>

namespace kv::print {

namespace {

DeviceFactory& installed() {
  static DeviceFactory factory;
  return factory;
}

double unitsPerMillimetre(int scaleMode) {
  switch (scaleMode) {
    case Scale::Twip:
      return 1440 / 25.4;
    case Scale::Point:
      return 72 / 25.4;
    case Scale::Inch:
      return 1 / 25.4;
    case Scale::Millimetre:
      return 1;
    case Scale::Centimetre:
      return 0.1;
    default:
      throw std::invalid_argument("unknown printer ScaleMode " + std::to_string(scaleMode));
  }
}

}  // namespace

DeviceFactory setDeviceFactory(DeviceFactory factory) { return std::exchange(installed(), std::move(factory)); }

std::unique_ptr<Device> makeDevice() {
  std::unique_ptr<Device> device;
  if (installed()) device = installed()();
  if (!device) throw PrinterError(PrinterError::Kind::NotReady, "no printer is installed");
  return device;
}

Printer::Printer(std::string documentName) : documentName_(std::move(documentName)) {}

Printer::~Printer() { KillDoc(); }

void Printer::setScaleMode(const int& v) {
  unitsPerMm_ = unitsPerMillimetre(v);
  scaleMode_ = v;
}

Device& Printer::device() {
  if (!device_) device_ = makeDevice();
  return *device_;
}

template <class Call>
auto Printer::guarded(Call&& call) {
  try {
    return call(device());
  } catch (...) {
    KillDoc();
    throw;
  }
}

void Printer::beginDocument() {
  if (begun_) return;
  guarded([this](Device& d) {
    if (!d.takesJobs()) throw PrinterError(PrinterError::Kind::NotReady, "the printer takes no jobs");
    d.begin(documentName_);
  });
  begun_ = true;
}

int Printer::FontCount() {
  if (!fonts_) fonts_ = guarded([](Device& d) { return d.fonts(); });
  return static_cast<int>(fonts_->size());
}

std::string Printer::Fonts(int index) {
  if (index < 0 || index >= FontCount()) throw std::out_of_range("printer font index " + std::to_string(index));
  return (*fonts_)[static_cast<std::size_t>(index)];
}

double Printer::ScaleWidth() { return units(guarded([](Device& d) { return d.printableArea().width; })); }

double Printer::ScaleHeight() { return units(guarded([](Device& d) { return d.printableArea().height; })); }

double Printer::TextWidth(std::string_view text) {
  return units(guarded([&](Device& d) { return d.textWidth(font_, text); }));
}

double Printer::TextHeight(std::string_view) {
  return units(guarded([&](Device& d) { return d.lineHeight(font_); }));
}

void Printer::Print(std::string_view text, PrintEnd end) {
  beginDocument();
  guarded([&](Device& d) {
    if (!text.empty()) d.text(x_, y_, font_, text);
    if (end == PrintEnd::Stay) {
      x_ += d.textWidth(font_, text);
    } else {
      x_ = 0;
      y_ += d.lineHeight(font_);
    }
  });
}

void Printer::Line(double x1, double y1, double x2, double y2) {
  beginDocument();
  guarded([&](Device& d) { d.line(mm(x1), mm(y1), mm(x2), mm(y2)); });
  x_ = mm(x2);
  y_ = mm(y2);
}

void Printer::NewPage() {
  beginDocument();
  guarded([](Device& d) { d.newPage(); });
  x_ = y_ = 0;
}

PrintedDocument Printer::EndDoc() {
  PrintedDocument done;
  if (begun_) {
    done = guarded([](Device& d) { return d.end(); });
    device_.reset();
  }
  KillDoc();
  x_ = y_ = 0;
  return done;
}

void Printer::KillDoc() noexcept {
  if (device_) device_->abort();
  device_.reset();
  fonts_.reset();
  begun_ = false;
}

}  // namespace kv::print
