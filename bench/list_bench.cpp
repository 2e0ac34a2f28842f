// The product lists over a full product file (32767 records): the list in code order and in record
// order, the filter with three conditions, the grid filled and sorted by each column on the headless
// back end, and the code list printed into a PDF file by the desktop back end.
#include <benchmark/benchmark.h>

#include <QWidget>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "base/text.h"
#include "files/files.h"
#include "lists/list_file.h"
#include "lists/list_filter.h"
#include "lists/list_printer.h"
#include "lists/windows.h"
#include "print/qt/desktop_printer.h"
#include "qt_application.h"
#include "quiet_sink.h"
#include "records/chain_bulk_link.h"
#include "records/kalvor3.h"
#include "support/company.h"
#include "ui/headless_driver.h"
#include "ui/qt/desktop.h"
#include "ui/qt/desktop_backend.h"
#include "ui/ui.h"

namespace {

using namespace kv;

constexpr int kRecords = kMaxRecords16;

// A company of 32767 linked products with Turkish codes, names, groups and suppliers, the same every run.
struct FullCompany {
  testing::TempFolder folder;
  FullCompany() {
    static const std::vector<std::string> letters = {"A", "B", "C", "Ç", "D", "E", "G", "Ğ", "I", "İ",
                                                     "K", "M", "O", "Ö", "S", "Ş", "T", "U", "Ü", "Z"};
    std::mt19937 rng(952);
    auto word = [&](int n) {
      std::string s;
      for (int i = 0; i < n; ++i) s += letters[rng() % letters.size()];
      return s;
    };
    testing::Company c;
    for (int i = 0; i < kRecords; ++i) {
      ProductRecord r = testing::makeProduct(word(8), word(4) + " " + word(12));
      r.ProductGroup = w(word(3));
      r.Supplier = w(word(6));
      r.Unit = "ADET";
      r.Cost = static_cast<float>(i % 1000) * 1.25f;
      r.CostCurrency = "TL";
      c.append(r);
    }
    linkAllRecords(c.files(), quietInsertPolicy());
  }
  // The whole file listed into ".LST", on files open as the list dialog holds them.
  ListBuild buildList(ListOrder order) {
    if (!products.isOpen()) {
      products.open("KLVR952");
      list.open("KLVR952.LST", ProductRecord::Length);
    }
    bench::Quiet quiet;
    const std::string all(20, '\xD8');
    return buildProductList(products, list, {order, order == ListOrder::Alphabetic ? "" : "1", all}, quiet);
  }
  void closeList() { list.close(); }
  // The whole list in code order, left for the grid window to show as a list of `kind`.
  void readyForTheGrid(int kind) {
    buildList(ListOrder::Alphabetic);
    closeList();
    registerListWindows();
    KALVOR3 = Kalvor3{};
    KALVOR3.CompanyName = "KLVR952";
    KALVOR3.List.ListKind = static_cast<std::int16_t>(kind);
  }
  ProductFile products;
  FileHandle list;
};

void listIn(benchmark::State& state, ListOrder order) {
  FullCompany company;
  std::int16_t listed = 0;
  for (auto _ : state) listed = company.buildList(order).count;
  state.counters["records"] = listed;
}
void BM_ListInCodeOrder(benchmark::State& state) { listIn(state, ListOrder::Alphabetic); }
void BM_ListInRecordOrder(benchmark::State& state) { listIn(state, ListOrder::RecordOrder); }
BENCHMARK(BM_ListInCodeOrder)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ListInRecordOrder)->Unit(benchmark::kMillisecond)->Iterations(5);

// Codes with an A somewhere, or names that begin with a C, of these the suppliers that do not end in Z.
void BM_FilterWithThreeConditions(benchmark::State& state) {
  FullCompany company;
  FilterSettings s;
  s.conditions[0] = {FilterField::Code, MatchSide::Middle, MatchStatus::Matching, "A"};
  s.conditions[1] = {FilterField::Name, MatchSide::Left, MatchStatus::Matching, "C"};
  s.conditions[2] = {FilterField::Supplier, MatchSide::Right, MatchStatus::NotMatching, "Z"};
  s.joins = {FilterJoin::Or, FilterJoin::And};
  std::int32_t left = 0;
  for (auto _ : state) {
    state.PauseTiming();
    company.buildList(ListOrder::Alphabetic);
    company.closeList();
    state.ResumeTiming();
    left = filterListFile("KLVR952", "KLVR952.LST", s).count;
  }
  state.counters["left"] = left;
}
BENCHMARK(BM_FilterWithThreeConditions)->Unit(benchmark::kMillisecond)->Iterations(5);

// The grid window on the headless back end: loading it fills the grid (arg -1); a click on heading c
// sorts by that column (arg c).
void BM_GridFillAndSort(benchmark::State& state) {
  FullCompany company;
  company.readyForTheGrid(2);
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto ui = std::make_unique<ui::HeadlessDriver>();
    ui->setScreen(1920, 1080);
    if (column >= 0) ui->start("frmListe");
    state.ResumeTiming();
    if (column < 0)
      ui->start("frmListe");
    else
      ui->clickCell("MSFlexGrid1", 0, column);
    state.PauseTiming();
    ui.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GridFillAndSort)->DenseRange(-1, 4)->Unit(benchmark::kMillisecond)->Iterations(3);

// The grid window on the desktop back end: loaded, filled and painted (arg 0), then scrolled to its last
// row and painted again (arg 1). The grid's widget paints the rows in view from the grid's own cells.
void BM_GridOnTheDesktop(benchmark::State& state) {
  bench::qtApplication();
  FullCompany company;
  company.readyForTheGrid(1);
  for (auto _ : state) {
    state.PauseTiming();
    auto session = std::make_unique<ui::desktop::DesktopSession>();
    if (state.range(0) == 1) {
      session->app().forms().show("frmListe");
      session->widgetOf(*session->app().forms().visible())->grab();
    }
    state.ResumeTiming();
    if (state.range(0) == 0) {
      session->app().forms().show("frmListe");
    } else {
      auto& grid = static_cast<ui::FlexGrid&>(*session->app().forms().visible()->control("MSFlexGrid1"));
      grid.TopRow = grid.Rows() - 1;
    }
    session->backend().flush();
    session->widgetOf(*session->app().forms().visible())->grab();
    state.PauseTiming();
    session.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GridOnTheDesktop)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintCodeListToPdf(benchmark::State& state) {
  bench::qtApplication();
  FullCompany company;
  company.buildList(ListOrder::Alphabetic);
  company.closeList();
  const print::DeviceFactory before = print::setDeviceFactory({});
  print::desktop::installDesktopPrinter({.systemPrinter = false, .openViewer = false});
  int pages = 0;
  for (auto _ : state) {
    const FileHandle list("KLVR952.LST", ProductRecord::Length);
    print::Printer p;
    pages = printProductList(p, ListKind::Code, list, list.count(), {"KLVR952", " 12 Mart 2024  "_w}).pages;
    state.PauseTiming();
    for (const auto& f : std::filesystem::directory_iterator(company.folder.path()))
      if (f.path().extension() == ".pdf") std::filesystem::remove(f.path());
    state.ResumeTiming();
  }
  state.counters["pages"] = pages;
  print::setDeviceFactory(before);
}
BENCHMARK(BM_PrintCodeListToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
