#include "support/recipes.h"

#include "base/text.h"
#include "files/files.h"

namespace kv::testing {

RecipeFile::RecipeFile(Company& company) : company_(company) {
  file_.open(company.name() + ".REC", RecipeRecord::Length, kMaxRecords32);
}

RecipeFile::~RecipeFile() { close(); }

void RecipeFile::close() {
  file_.close();
}

RecipeRecord RecipeFile::makeLine(std::int16_t owner, const Line& given) const {
  RecipeRecord r;
  const std::string code = w(given.code);
  if (std::int16_t p = productWithCode(code)) {
    ProductRecord product = company_.record(p);
    r.ItemRecord = p;
    r.LineType = product.Kind;
    r.Name = product.Name;
    r.Unit = product.Unit;
  }
  r.Code = code;
  r.Quantity = given.quantity;
  r.Cost = given.cost;
  r.Total = given.quantity * given.cost;
  r.Deleted = "H";
  ProductRecord o = company_.record(owner);
  r.OwnerCode = o.Code;
  r.OwnerRecord = owner;
  r.OwnerRandomNumber = o.RandomNumber;
  return r;
}

std::int16_t RecipeFile::productWithCode(const std::string& code) const {
  for (std::int16_t n = company_.count(); indexed_ < n;) {
    ++indexed_;
    byCode_.emplace(trim(company_.record(indexed_).Code.view()), indexed_);
  }
  auto it = byCode_.find(code);
  return it == byCode_.end() ? 0 : it->second;
}

std::int32_t RecipeFile::define(std::int16_t owner, const std::vector<Line>& lines) {
  const std::int32_t head = count() + 1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    RecipeRecord r = makeLine(owner, lines[i]);
    r.Sequence = static_cast<std::int16_t>(i + 1);
    r.NextLine = i + 1 < lines.size() ? head + static_cast<std::int32_t>(i) + 1 : 0;
    append(r);
  }
  ProductRecord o = company_.record(owner);
  o.RecipeNumber = lines.empty() ? 0 : head;
  company_.write(owner, o);
  return head;
}

std::int32_t RecipeFile::append(const RecipeRecord& line) {
  const std::int32_t n = count() + 1;
  file_.put(n, line);
  return n;
}

void RecipeFile::padTo(std::int32_t n) {
  RecipeRecord filler;
  filler.Deleted = "E";
  while (count() < n) append(filler);
}

RecipeRecord RecipeFile::line(std::int32_t n) const { return file_.get<RecipeRecord>(n); }
void RecipeFile::write(std::int32_t n, const RecipeRecord& line) { file_.put(n, line); }
std::int32_t RecipeFile::count() const { return file_.count(); }

std::int16_t defineBinaryTree(Company& company, RecipeFile& recipes, int depth) {
  std::vector<std::int16_t> c;
  for (int i = 0; i <= depth; ++i) c.push_back(company.append(makeProduct(numbered("C", i))));
  for (int i = 0; i < depth; ++i) {
    const std::string child = numbered("C", i + 1);
    recipes.define(c[i], {{child, 1, 0.5f}, {child, 1, 0.5f}});
  }
  return c[0];
}

std::vector<LevelRecord> readLevelFile(const TempFolder& folder, const std::string& companyUtf8) {
  std::vector<std::uint8_t> bytes = folder.bytes(companyUtf8 + ".KDM");
  std::vector<LevelRecord> out;
  for (std::size_t at = 0; at + LevelRecord::Length <= bytes.size(); at += LevelRecord::Length)
    out.push_back(LevelRecord::decode(bytes.data() + at));
  return out;
}

MsgAnswer Transcript::message(const std::string& text, MsgButtons, MsgIcon icon, const std::string& title) {
  events.push_back("box: " + toUtf8(text) + " | " + toUtf8(title));
  icons.push_back(icon);
  return MsgAnswer::Ok;
}

void Transcript::progress(const std::string& text) { events.push_back("title: " + toUtf8(text)); }

int Transcript::count(std::string_view prefix) const {
  int n = 0;
  for (const auto& e : events)
    if (std::string_view(e).substr(0, prefix.size()) == prefix) ++n;
  return n;
}

}  // namespace kv::testing
