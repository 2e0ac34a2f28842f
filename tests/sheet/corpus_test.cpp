// The reader against a corpus of public workbooks beside the checkout (KV_WORKBOOK_CORPUS, by default
// ../shared/workbook-corpus; its README says what it holds): every workbook is read as the import reads
// it, through the reader program under its default limits, and gives the cells, or the refusal, that the
// corpus recorded of the reader when it was made, unless the table below lists the difference, file and
// cells, with the reason it is deliberate. Without the corpus the test is skipped and says so.
#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/text.h"
#include "files/files.h"
#include "sheet/sheet.h"

namespace kv::sheet {
namespace {

// A difference from the corpus that a change of the reader made on purpose: the workbook, the cells that
// differ ("B7 C7"; "*" where it reads otherwise as a whole: read where it was refused, refused for another
// reason, or of another number of rows), and why.
struct Deliberate {
  const char* file;
  const char* cells;
  const char* why;
};
const std::vector<Deliberate> kDeliberate = {
    {"poi__test-data__spreadsheet__clusterfuzz-testcase-minimized-POIHSSFFuzzer-4651309315719168.xls", "*",
     "its root starts past the file's end and none of its streams is small: a root's chain now ends at such a "
     "link instead of refusing the container, and its workbook stream, whose FILEPASS record encrypts it, is "
     "refused as protected by a password rather than as a damaged container"},
};

// What a workbook reads as: its refusal, or its rows and every cell that is not empty, by its place, as
// its kind's letter and its value ("n 12.5", "s text" in UTF-8).
struct Reading {
  std::optional<std::string> refusal;
  std::int32_t rows = 0;
  std::map<std::pair<std::int32_t, int>, std::string> cells;
};

std::string numberText(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.17g", v);
  return digits;
}

Reading recorded(const nlohmann::json& line) {
  Reading r;
  if (line.at("ok").get<int>() == 0) {
    r.refusal = line.at("err").get<std::string>();
    return r;
  }
  r.rows = line.at("rows").get<std::int32_t>();
  for (const nlohmann::json& c : line.at("c")) {
    const nlohmann::json& v = c.at(3);
    r.cells[{c.at(0).get<std::int32_t>(), c.at(1).get<int>()}] =
        c.at(2).get<std::string>() + " " + (v.is_string() ? v.get<std::string>() : numberText(v.get<double>()));
  }
  return r;
}

Reading readNow(const std::string& name) {
  Reading r;
  try {
    const Sheet sheet = readFirstSheet(name);
    r.rows = sheet.rowCount();
    for (std::int32_t row = 1; row <= r.rows; ++row)
      for (int column = 1; column <= kMaxReadColumns; ++column) {
        const Cell c = sheet.cell(row, column);
        if (c.kind == CellKind::Empty) continue;
        static constexpr const char* kKinds[] = {"", "n ", "s ", "d ", "b ", "e "};
        r.cells[{row, column}] = kKinds[static_cast<int>(c.kind)] + (c.kind == CellKind::Text || c.kind == CellKind::Error
                                                                         ? toUtf8(c.str)
                                                                         : numberText(c.value));
      }
  } catch (const SheetError& e) {
    r.refusal = e.what();
  }
  return r;
}

std::string cellName(std::int32_t row, int column) {
  std::string letters;
  for (; column > 0; column = (column - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  return letters + std::to_string(row);
}

// Where two readings differ: "*" for the workbook as a whole, else the name of each cell.
std::set<std::string> differences(const Reading& was, const Reading& now) {
  if (was.refusal || now.refusal || was.rows != now.rows) {
    if (was.refusal == now.refusal && was.rows == now.rows && was.cells == now.cells) return {};
    return {"*"};
  }
  std::set<std::string> cells;
  for (const auto& [place, value] : was.cells) {
    const auto other = now.cells.find(place);
    if (other == now.cells.end() || other->second != value) cells.insert(cellName(place.first, place.second));
  }
  for (const auto& [place, value] : now.cells)
    if (!was.cells.contains(place)) cells.insert(cellName(place.first, place.second));
  return cells;
}

std::string shown(const Reading& r, const std::string& place) {
  if (r.refusal) return "refused: " + *r.refusal;
  if (place == "*") return std::to_string(r.rows) + " rows, " + std::to_string(r.cells.size()) + " cells";
  for (const auto& [at, value] : r.cells)
    if (cellName(at.first, at.second) == place) return value;
  return "empty";
}

std::optional<std::string> gunzip(const std::filesystem::path& path) {
  const gzFile in = gzopen(path.c_str(), "rb");
  if (in == nullptr) return std::nullopt;
  std::string out;
  char buffer[1 << 16];
  int n = 0;
  while ((n = gzread(in, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(n));
  gzclose(in);
  if (n < 0) return std::nullopt;
  return out;
}

TEST(WorkbookCorpus, EveryWorkbookReadsAsRecordedOrAsTheTableSays) {
  const std::filesystem::path corpus = std::filesystem::path(KV_WORKBOOK_CORPUS).lexically_normal();
  if (!std::filesystem::is_directory(corpus / "files"))
    GTEST_SKIP() << "no workbook corpus at " << corpus.string() << ": the corpus test is skipped";
  const std::optional<std::string> lines = gunzip(corpus / "expected.jsonl.gz");
  ASSERT_TRUE(lines) << "the corpus's expected.jsonl.gz cannot be read";

  std::map<std::string, Reading> was;
  std::istringstream in(*lines);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) {
      const nlohmann::json j = nlohmann::json::parse(line);
      was[j.at("f").get<std::string>()] = recorded(j);
    }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(corpus / "files")) {
    const std::string name = entry.path().filename().string();
    if (!was.contains(name)) ADD_FAILURE() << name << ": nothing recorded of it";
    else if (!fromUtf8(name)) ADD_FAILURE() << name << ": a name the program cannot give";
    else names.push_back(name);
  }
  for (const auto& [name, reading] : was)
    if (!std::filesystem::exists(corpus / "files" / name)) ADD_FAILURE() << name << ": recorded, but not in the corpus";

  // Read as the import reads: by its name in the working folder, through the reader program.
  setWorkingFolder(corpus / "files");
  std::vector<Reading> now(names.size());
  std::atomic<std::size_t> next = 0;
  std::vector<std::thread> readers(std::max(1u, std::thread::hardware_concurrency()));
  for (std::thread& t : readers)
    t = std::thread([&] {
      for (std::size_t i; (i = next++) < names.size();) now[i] = readNow(*fromUtf8(names[i]));
    });
  for (std::thread& t : readers) t.join();

  std::map<std::string, std::set<std::string>> listed;
  for (const Deliberate& d : kDeliberate) {
    std::istringstream cells(d.cells);
    for (std::string cell; cells >> cell;) listed[d.file].insert(cell);
    if (!was.contains(d.file)) ADD_FAILURE() << d.file << ": listed, but not in the corpus";
  }
  std::size_t refused = 0, differing = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const Reading& before = was[names[i]];
    refused += now[i].refusal.has_value();
    const std::set<std::string> found = differences(before, now[i]);
    differing += !found.empty();
    const std::set<std::string>& expected = listed[names[i]];
    if (found == expected) continue;
    std::ostringstream told;
    told << names[i] << " reads otherwise than recorded, and the table does not say so:";
    int shownCells = 0;
    for (const std::string& place : found)
      if (!expected.contains(place) && ++shownCells <= 10)
        told << "\n  " << place << ": " << shown(before, place) << " -> " << shown(now[i], place);
    if (shownCells > 10) told << "\n  and " << shownCells - 10 << " cells more";
    for (const std::string& place : expected)
      if (!found.contains(place)) told << "\n  " << place << " is listed, but reads as recorded";
    ADD_FAILURE() << told.str();
  }
  std::cout << "The workbook corpus: " << names.size() << " workbooks read (" << names.size() - refused << " read, "
            << refused << " refused), " << differing << " of them otherwise than recorded.\n";
}

}  // namespace
}  // namespace kv::sheet
