// A report of 5000 rows printed into a PDF file by the desktop back end, under Qt's offscreen platform: a
// page head, ruled rows of six cells (names cut to their column by measuring, numbers right-aligned) and a
// page break by the remaining height, as the recipe reports print; about 120 pages.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>

#include "common/files.h"
#include "common/text.h"
#include "print/printer.h"
#include "print/qt/desktop_printer.h"
#include "support/company.h"

namespace {

using namespace kv;

QGuiApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "kv_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  return app;
}

// Cut from the end while wider than the limit.
std::string cut(print::Printer& p, std::string text, double limit) {
  while (!text.empty() && p.TextWidth(text) > limit) text.pop_back();
  return text;
}

int printRows(int rows) {
  print::Printer p;
  p.ScaleMode = print::Scale::Millimetre;
  double top = 0, last = 0, line = 0;
  int page = 1;
  const double rules[] = {10, 39, 101, 124, 159, 196};
  auto head = [&] {
    p.CurrentX = 10;
    p.CurrentY = 18;
    p.FontName = "Times New Roman";
    p.FontSize = 12;
    p.Print(" 12 Mart 2024  "_w, p.Stay);
    p.CurrentX = p.CurrentX + 40;
    p.Print("MKN-0042  Şirket İŞÇİĞÜÖ"_w, p.Stay);
    p.CurrentX = 170;
    p.Print("Sayfa :  " + std::to_string(page));
    top = p.CurrentY + 0.5;
    p.Line(10, top, 196, top);
    p.CurrentY = top + 1;
    p.FontSize = 11;
    p.Print("MAL KODU      MAL ADI      MİKTAR      MALİYET      TOPLAM"_w);
    last = p.CurrentY + 1;
    p.Line(10, last, 196, last);
    p.FontName = "Arial";
    line = p.TextHeight("Deneme");
  };
  auto close = [&] {
    for (double x : rules) p.Line(x, top, x, last);
  };
  head();
  for (int n = 1; n <= rows; ++n) {
    if (p.CurrentY > p.ScaleHeight() - (line + 18)) {
      close();
      ++page;
      p.NewPage();
      head();
    }
    p.CurrentY = p.CurrentY + 1;
    p.CurrentX = 12;
    p.Print(cut(p, "ÇĞ-" + std::to_string(100000 + n) + "-DÖKÜM-GÖVDE"_w, 25), p.Stay);
    p.CurrentX = 41;
    p.Print(cut(p, "Şaft İğne Göbeği Üst Ölçü Çelik Döküm Parça "_w + std::to_string(n), 58), p.Stay);
    for (auto [text, end] : {std::pair<std::string, double>{std::to_string(n % 97) + ",5", 112},
                             {"1.234,56 TL", 157}}) {
      p.CurrentX = end - p.TextWidth(text);
      p.Print(text, p.Stay);
    }
    p.CurrentX = 113;
    p.Print("Adet", p.Stay);
    p.CurrentX = 194 - p.TextWidth("12.345,67 TL");
    p.Print("12.345,67 TL");
    last = p.CurrentY + 0.5;
    p.Line(10, last, 196, last);
  }
  close();
  return p.EndDoc().pages;
}

void BM_Print5000RowsToPdf(benchmark::State& state) {
  qtApplication();
  testing::TempFolder folder;
  const print::DeviceFactory before = print::setDeviceFactory({});
  print::desktop::installDesktopPrinter({.systemPrinter = false, .openViewer = false});
  int pages = 0;
  for (auto _ : state) {
    pages = printRows(5000);
    state.PauseTiming();
    std::filesystem::remove(folder.path() / "Rapor1.pdf");
    state.ResumeTiming();
  }
  state.counters["pages"] = pages;
  print::setDeviceFactory(before);
}
BENCHMARK(BM_Print5000RowsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
