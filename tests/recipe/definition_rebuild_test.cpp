// The rebuild of ".REC" and ".LTD": the chains it keeps and how it cuts them, the products' new recipe
// heads, the backups, the head lookup against a scan from record 1, and files that fail or are missing.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/text.h"
#include "recipe/definition_rebuild.h"
#include "support/company.h"
#include "support/file_faults.h"
#include "support/recipes.h"

namespace kv::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Files = std::map<std::string, Bytes>;

class Rebuild : public ::testing::Test {
 protected:
  Rebuild() { products.open(company.name()); }

  // A product with a random number of its own.
  std::int16_t add(const std::string& code, int kind = 1) {
    std::int16_t n = company.add(code, "", kind);
    ProductRecord r = company.record(n);
    r.RandomNumber = 7000 + n;
    company.write(n, r);
    return n;
  }
  // A chain of lines for `owner`; each line's component code names the line.
  std::int32_t define(std::int16_t owner, const std::vector<std::string>& lines) {
    std::vector<RecipeFile::Line> l;
    for (const auto& code : lines) l.push_back({code, 2, 0.5f});
    return recipes.define(owner, l);
  }
  void setNextLine(std::int32_t line, std::int32_t next) {
    RecipeRecord r = recipes.line(line);
    r.NextLine = next;
    recipes.write(line, r);
  }
  void setRecipeNumber(std::int16_t product, std::int32_t head) {
    ProductRecord r = company.record(product);
    r.RecipeNumber = head;
    company.write(product, r);
  }

  // The store is built as ".REC"; the list-definition rebuild gets the same lines as ".LTD".
  RebuildResult rebuild(RecipeFileKind kind) {
    recipes.close();
    if (kind == RecipeFileKind::ListDefinitions) copyFile("KLVR952.REC", "KLVR952.LTD");
    return RebuildDefinitionFile(kind, company.name(), products, said, said);
  }

  Files files() const {
    Files out;
    for (const auto& e : std::filesystem::directory_iterator(folder.path()))
      out[e.path().filename().string()] = folder.bytes(e.path().filename().string());
    return out;
  }

  // The chains of a new store as "OWNER: line line ...", checked on the way: consecutive lines linked to
  // the next record, Sequence 1, 2, ..., the owner fields those of the product, every other field as the
  // old line with that code had it.
  std::vector<std::string> chains(const std::string& store, const std::map<std::string, RecipeRecord>& old) {
    const Bytes bytes = folder.bytes(store);
    std::vector<std::string> out;
    std::int16_t position = 0;
    for (std::size_t at = 0; at + RecipeRecord::Length <= bytes.size(); at += RecipeRecord::Length) {
      const RecipeRecord l = RecipeRecord::decode(bytes.data() + at);
      const auto n = static_cast<std::int32_t>(at / RecipeRecord::Length + 1);
      const ProductRecord owner = company.record(l.OwnerRecord);
      const std::string code = toUtf8(trim(l.Code.view()));
      if (position == 0) out.push_back(toUtf8(trim(owner.Code.view())) + ":");
      out.back() += " " + code;
      EXPECT_EQ(l.Sequence, ++position) << code;
      EXPECT_EQ(l.OwnerCode, owner.Code) << code;
      EXPECT_EQ(l.OwnerRandomNumber, owner.RandomNumber) << code;
      if (l.NextLine == 0) position = 0;
      else EXPECT_EQ(l.NextLine, n + 1) << code;
      RecipeRecord same = old.at(code);
      same.OwnerCode = l.OwnerCode;
      same.OwnerRecord = l.OwnerRecord;
      same.OwnerRandomNumber = l.OwnerRandomNumber;
      same.NextLine = l.NextLine;
      same.Sequence = l.Sequence;
      Bytes a(RecipeRecord::Length), b(RecipeRecord::Length);
      same.encode(a.data());
      l.encode(b.data());
      EXPECT_EQ(a, b) << code;
    }
    EXPECT_EQ(position, 0) << "the last chain is not closed";
    return out;
  }
  std::map<std::string, RecipeRecord> linesByCode() const {
    std::map<std::string, RecipeRecord> out;
    for (std::int32_t n = 1; n <= recipes.count(); ++n) out[toUtf8(trim(recipes.line(n).Code.view()))] = recipes.line(n);
    return out;
  }

  TempFolder folder;
  Company company;
  ProductFile products;
  RecipeFile recipes{company};
  Transcript said;
};

// One store with every kind of damage the rebuild meets.
class DamagedStore : public Rebuild {
 protected:
  DamagedStore() {
    p = add("P");
    d = add("D");
    t = add("T");
    twin = add("t ");  // passes for T's head by its code
    s = add("S");
    loop = add("L");
    z = add("Z");
    wrong = add("W");
    recipes.padTo(3);
    define(p, {"p1", "p2", "p3", "p4"});
    define(d, {"d1", "d2"});
    const std::int32_t head = define(t, {"t1", "t2"});
    setRecipeNumber(twin, head);
    const std::int32_t self = define(s, {"s1", "s2"});
    setNextLine(self, self);
    const std::int32_t l1 = define(loop, {"l1", "l2", "l3"});
    setNextLine(l1 + 2, l1 + 1);
    define(z, {"z1"});
    setRecipeNumber(z, 0);
    define(wrong, {"w1"});
    setRecipeNumber(wrong, 5);  // p2: in the store, but no head of W's
    ProductRecord gone = company.record(d);
    gone.Kind = -1;
    company.write(d, gone);
    RecipeRecord erased = recipes.line(6);  // p3
    erased.Deleted = "E";
    recipes.write(6, erased);
    RecipeRecord orphan = recipes.makeLine(p, {"o1"});
    orphan.OwnerCode = "GONE";
    orphan.OwnerRecord = 99;
    orphan.Sequence = 1;
    recipes.append(orphan);
    old = linesByCode();
  }
  std::int16_t p, d, t, twin, s, loop, z, wrong;
  std::map<std::string, RecipeRecord> old;
};

TEST_F(DamagedStore, TheRecipeFileKeepsTheChainsTheProductsPointAt) {
  const Bytes store = folder.bytes("KLVR952.REC");
  const Bytes workingCopy(300, 7);
  folder.write("KLVR952.RCT", workingCopy);

  const RebuildResult r = rebuild(RecipeFileKind::Recipes);

  EXPECT_EQ(r.outcome, RebuildOutcome::Rebuilt);
  EXPECT_EQ(r.storeCount, 13);
  EXPECT_EQ(chains("KLVR952.REC", old), (std::vector<std::string>{"P: p1 p2", "D: d1 d2", "T: t1 t2", "t: t1 t2",
                                                                     "S: s1", "L: l1 l2 l3", "W: w1"}));
  const std::vector<std::int32_t> heads = {1, 3, 5, 7, 9, 10, 0, 13};
  for (std::int16_t n = 1; n <= 8; ++n) EXPECT_EQ(company.record(n).RecipeNumber, heads[n - 1]) << n;
  EXPECT_EQ(folder.bytes("952KLVR.REC"), store);
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), workingCopy);
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  ASSERT_EQ(said.events.size(), 14u);
  EXPECT_EQ(said.events[0], "title: Reçetelerin yenilenmesi işlemi başladı...");
  EXPECT_EQ(said.events[1], "title: KLVR952.DAT  Kayıt Numarası=1");
  EXPECT_EQ(std::vector<std::string>(said.events.begin() + 9, said.events.end()),
            (std::vector<std::string>{"title: Reçetelerin yenilenmesi işlemi devam ediyor...",
                                      "title: Reçetelerin yenilenmesi işlemi tamamlandı...", "beep",
                                      "box: 13 kayıt reçete tanım dosyasına kayıtlandı... |  KALVOR 952 Uyarlama 3.0",
                                      "title:  KALVOR 952 Uyarlama 3.0 BETA"}));
  EXPECT_EQ(said.icons, std::vector<MsgIcon>{MsgIcon::None});
  EXPECT_EQ(files().size(), 5u);  // .DAT, .ABC, .REC and the two backups: no temporary file is left
}

TEST_F(DamagedStore, TheListDefinitionFileFindsEveryHeadByScanning) {
  const Bytes products = folder.bytes("KLVR952.DAT");
  const Bytes store = folder.bytes("KLVR952.REC");
  folder.write("952KLVR.RCT", {1, 2});
  folder.write("KLVR952.RCT", {});

  const RebuildResult r = rebuild(RecipeFileKind::ListDefinitions);

  EXPECT_EQ(r.storeCount, 14);
  EXPECT_EQ(chains("KLVR952.LTD", old), (std::vector<std::string>{"P: p1 p2", "D: d1 d2", "T: t1 t2", "t: t1 t2",
                                                                     "S: s1", "L: l1 l2 l3", "Z: z1", "W: w1"}));
  EXPECT_EQ(folder.bytes("KLVR952.DAT"), products);
  EXPECT_EQ(folder.bytes("952KLVR.LTD"), store);
  EXPECT_EQ(folder.bytes("952KLVR.RCT"), (Bytes{1, 2}));  // an empty working copy is not kept
  EXPECT_FALSE(fileExists("KLVR952.RCT"));
  EXPECT_EQ(said.count("title: Listelerin yenilenmesi işlemi"), 3);
  EXPECT_EQ(said.count("box: 14 kayıt liste tanım dosyasına kayıtlandı... |  KALVOR 952 Uyarlama 3.0"), 1);
}

TEST_F(Rebuild, AnEmptyStoreLeavesEveryProductWithoutARecipe) {
  std::int16_t a = add("A");
  setRecipeNumber(a, 4);
  EXPECT_EQ(rebuild(RecipeFileKind::Recipes).storeCount, 0);
  EXPECT_EQ(company.record(a).RecipeNumber, 0);
  EXPECT_EQ(folder.bytes("KLVR952.REC").size(), 0u);
  EXPECT_EQ(said.count("box: 0 kayıt reçete tanım dosyasına kayıtlandı..."), 1);
}

// Positions in a chain are 16-bit: a chain is copied up to its 32767th line. Its lines lie beyond 32767.
TEST_F(Rebuild, AChainIsCutAtTheLastPositionASequenceHolds) {
  std::int16_t a = add("A");
  add("X");
  recipes.padTo(40000);
  define(a, std::vector<std::string>(32769, "X"));
  EXPECT_EQ(rebuild(RecipeFileKind::Recipes).storeCount, 32767);
  FileHandle rec = openRecipeSideFile(company.name(), RecipeFileKind::Recipes);
  const RecipeRecord last = rec.get<RecipeRecord>(32767);
  EXPECT_EQ(last.Sequence, 32767);
  EXPECT_EQ(last.NextLine, 0);
  EXPECT_EQ(company.record(a).RecipeNumber, 1);
}

TEST_F(Rebuild, AMissingStoreIsToldAndNothingChanges) {
  add("A");
  const Files before = files();
  const RebuildResult r = RebuildListDefinitionFile(company.name(), products, said, said);
  EXPECT_EQ(r.outcome, RebuildOutcome::StoreMissing);
  EXPECT_EQ(files(), before);
  EXPECT_EQ(said.events, (std::vector<std::string>{"title: Listelerin yenilenmesi işlemi başladı...", "beep",
                                                   "box: KLVR952.LTD dosyası bulunamadı!... | ! DOSYA HATASI !",
                                                   "title:  KALVOR 952 Uyarlama 3.0 BETA"}));
}

// A file that fails on the way, before or after the new store took its place: the store, the products
// and the working copy are as they were, the user is told which file failed, and no count is given.
TEST_F(DamagedStore, AFailingFileLeavesEverythingAsItWas) {
  struct Case {
    FileOp op;
    const char* file;
    int first;
    bool backupsKept;  // a failure before the backups were refreshed leaves the old ones
    const char* told;
  };
  const Case cases[] = {
      {FileOp::Write, "KLVR952.REC.~new", 1, true, "\"KLVR952.REC\" dosyasına yazılamadı!..."},
      {FileOp::Rename, "KLVR952.REC", 1, false, "\"KLVR952.REC\" dosyasının adı değiştirilemedi!..."},
      {FileOp::Rename, "KLVR952.RCT", 1, false, "\"KLVR952.RCT\" dosyasının adı değiştirilemedi!..."},
      {FileOp::Write, "KLVR952.DAT", 3, false, "\"KLVR952.DAT\" dosyasına yazılamadı!..."},
      {FileOp::Delete, "KLVR952.RCT", 1, false, "\"KLVR952.RCT\" dosyası silinemedi!..."},
  };
  recipes.close();
  folder.write("KLVR952.RCT", Bytes(128, 3));
  folder.write("952KLVR.REC", {5});
  folder.write("952KLVR.RCT", {6});
  const Files before = files();
  for (const Case& c : cases) {
    said.events.clear();
    RebuildResult r;
    {
      FailOn fault(c.op, c.file, EIO, c.first, 1);
      r = RebuildRecipeFile(company.name(), products, said, said);
      EXPECT_EQ(fault.failures(), 1) << c.file;
    }
    EXPECT_EQ(r.outcome, RebuildOutcome::Failed) << c.file;
    Files after = files();
    if (!c.backupsKept) {
      EXPECT_EQ(after["952KLVR.REC"], before.at("KLVR952.REC")) << c.file;
      EXPECT_EQ(after["952KLVR.RCT"], before.at("KLVR952.RCT")) << c.file;
      after["952KLVR.REC"] = before.at("952KLVR.REC");
      after["952KLVR.RCT"] = before.at("952KLVR.RCT");
    }
    EXPECT_EQ(after, before) << c.file;
    EXPECT_EQ(said.count(std::string("box: ") + c.told), 1) << c.file;
    EXPECT_EQ(said.count("box"), 1) << c.file;
    EXPECT_EQ(said.events.back(), "title:  KALVOR 952 Uyarlama 3.0 BETA");
    folder.write("952KLVR.REC", {5});
    folder.write("952KLVR.RCT", {6});
  }
}

// The head lookup through the index finds what a scan from record 1 finds, on random stores whose lines
// share codes (in both letter cases, with blanks), record numbers and random numbers.
TEST(RebuildHeadsProperty, FindsTheFirstPassingLineInRecordOrder) {
  std::mt19937 rng(952);
  const char* codes[] = {"A", "a", " A", "B", "İ", "i", "I", "ı", "ÇÖ", "çö", ""};
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 200; ++round) {
    std::vector<RecipeRecord> store(static_cast<std::size_t>(pick(60)));
    RebuildHeads heads;
    for (std::size_t i = 0; i < store.size(); ++i) {
      RecipeRecord& l = store[i];
      l.Deleted = pick(5) ? "H" : "E";
      l.Sequence = static_cast<std::int16_t>(pick(3));
      l.OwnerCode = w(codes[pick(11)]);
      l.OwnerRecord = static_cast<std::int16_t>(pick(5));
      l.OwnerRandomNumber = pick(3);
      heads.add(static_cast<std::int32_t>(i + 1), l);
    }
    for (int k = 0; k < 20; ++k) {
      ProductRecord owner;
      owner.Code = w(codes[pick(11)]);
      owner.RandomNumber = pick(3);
      const auto record = static_cast<std::int16_t>(pick(5));
      std::int32_t scanned = 0;
      for (std::size_t i = 0; i < store.size() && !scanned; ++i)
        if (headsChainForRebuild(store[i], record, owner)) scanned = static_cast<std::int32_t>(i + 1);
      ASSERT_EQ(heads.first(record, owner), scanned) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace kv::testing
