#include "print/recording_printer.h"

#include <algorithm>
#include <optional>

namespace kv::print {

class RecordingDevice : public Device {
 public:
  explicit RecordingDevice(RecordingPrinter& owner) : owner_(owner) {}

  std::vector<std::string> fonts() override {
    owner_.count(DeviceCall::Fonts);
    return owner_.fonts;
  }
  PageArea printableArea() override {
    owner_.count(DeviceCall::Area);
    return RecordingPrinter::kArea;
  }
  double textWidth(const Font& font, std::string_view text) override {
    owner_.count(DeviceCall::Measure);
    check(font);
    return static_cast<double>(text.size()) * font.size * RecordingPrinter::kCharWidthPerPoint;
  }
  double lineHeight(const Font& font) override {
    owner_.count(DeviceCall::Measure);
    check(font);
    return font.size * RecordingPrinter::kLineHeightPerPoint;
  }

  bool takesJobs() override { return owner_.takesJobs; }
  void begin(std::string_view name) override {
    owner_.count(DeviceCall::Begin);
    owner_.documents_.push_back({RecordedDocument::State::Open, std::string(name), {RecordedPage{}}});
    document_ = owner_.documents_.size() - 1;
  }
  void text(double x, double y, const Font& font, std::string_view text) override {
    owner_.count(DeviceCall::Text);
    check(font);
    page().texts.push_back({x, y, std::string(text), font});
  }
  void line(double x1, double y1, double x2, double y2) override {
    owner_.count(DeviceCall::Line);
    page().lines.push_back({x1, y1, x2, y2});
  }
  void newPage() override {
    owner_.count(DeviceCall::NewPage);
    doc().pages.emplace_back();
  }
  PrintedDocument end() override {
    owner_.count(DeviceCall::End);
    doc().state = RecordedDocument::State::Ended;
    return {static_cast<int>(doc().pages.size()), "Recording", ""};
  }
  void abort() noexcept override {
    if (document_ && doc().state == RecordedDocument::State::Open) doc().state = RecordedDocument::State::Aborted;
  }

 private:
  void check(const Font& font) const {
    if (std::find(owner_.fonts.begin(), owner_.fonts.end(), font.name) == owner_.fonts.end())
      throw PrinterError(PrinterError::Kind::NoFont, "the printer has no font \"" + font.name + "\"");
  }
  RecordedDocument& doc() { return owner_.documents_[*document_]; }
  RecordedPage& page() { return doc().pages.back(); }

  RecordingPrinter& owner_;
  std::optional<std::size_t> document_;
};

RecordingPrinter::RecordingPrinter()
    : previous_(setDeviceFactory([this] { return std::make_unique<RecordingDevice>(*this); })) {}

RecordingPrinter::~RecordingPrinter() { setDeviceFactory(std::move(previous_)); }

void RecordingPrinter::failAt(DeviceCall call, int occurrence, PrinterError::Kind kind) {
  failures_.push_back({call, calls(call) + occurrence, kind});
}

void RecordingPrinter::count(DeviceCall call) {
  ++counts_[static_cast<int>(DeviceCall::Any)];
  if (call != DeviceCall::Any) ++counts_[static_cast<int>(call)];
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (calls(it->call) != it->at) continue;
    const PrinterError::Kind kind = it->kind;
    failures_.erase(it);
    throw PrinterError(kind, "a failure made for the test");
  }
}

}  // namespace kv::print
