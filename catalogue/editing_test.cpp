#include "catalogue/editing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/record.h"
#include "resources/resources.h"
#include "tests/fakes/fake_catalogue_view.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/scripted_pump.h"

namespace quenstrel {
namespace {

using Texts = std::vector<std::string>;

class EditingTest : public testing::Test {
 protected:
  void Start(const std::string& fileText) {
    fs.files[Path()] = fileText;
    LoadCatalogue(catalogue, fs, view);
  }
  void StartFromBuiltIn() { LoadCatalogue(catalogue, fs, view); }
  std::string Path() { return CatalogueFilePath(fs); }
  std::string& File() { return fs.files[Path()]; }
  EditingContext Context() { return {catalogue, fs, view, pump}; }
  bool Add(const std::string& box) {
    view.descriptionText = box;
    return AddInstruction(Context());
  }
  bool Modify(const std::string& mnemonic, const std::string& box) {
    view.descriptionText = box;
    return ModifyInstruction(Context(), mnemonic);
  }
  bool Delete(const std::string& mnemonic) { return DeleteInstruction(Context(), mnemonic); }
  int Count(const std::string& item) {
    return static_cast<int>(std::count(view.items.begin(), view.items.end(), item));
  }

  FakeFileSystem fs;
  FakeCatalogueView view;
  ScriptedPump pump;
  Catalogue catalogue;
};

TEST_F(EditingTest, AddUpperCasesWritesTheRecordLastAndListsItSorted) {
  Start("MOV     b.  \r\nAND     a.  \r\n");
  ASSERT_TRUE(Add("cmp  比较 两个 数."));
  EXPECT_EQ(File(), "AND     a.  \r\nMOV     b.  \r\nCMP   比较两个数.\r\n");
  EXPECT_EQ(view.items, (Texts{"AND", "CMP", "MOV"}));
  EXPECT_EQ(view.countCaption, CountText(3));
  EXPECT_EQ(pump.calls, 3);  // once per record of the file text

  ASSERT_TRUE(Add("CMP x"));  // a mnemonic that exists already adds a second record
  EXPECT_EQ(view.items, (Texts{"AND", "CMP", "CMP", "MOV"}));
}

TEST_F(EditingTest, AddKeepsTheLinesOfAMultiLineBox) {
  Start("MOV     b.  \r\n");
  ASSERT_TRUE(Add("abc  x y\r\nDEF  z\r\n"));
  EXPECT_EQ(File(), "MOV     b.  \r\nABC   xy\r\nDEFz\r\n\r\n");
  EXPECT_EQ(view.items, (Texts{"ABC", "DEFz", "MOV"}));
}

TEST_F(EditingTest, AddRefusesWhatWouldBeSkippedOrCannotBeStored) {
  Start("MOV     b.  \r\n");
  const std::string before = File();
  for (const char* box : {"", "   ", "\xA1\xA1 \xA1\xA1", " "}) {
    SCOPED_TRACE(box);
    EXPECT_FALSE(Add(box));
  }
  view.descriptionEncodable = false;  // an emoji would be stored as "?"
  EXPECT_FALSE(Add("MOV x"));
  EXPECT_EQ(File(), before);
  EXPECT_EQ(fs.writeCalls, 0);
  EXPECT_EQ(catalogue.records, Texts{"MOV     b.  "});
}

TEST_F(EditingTest, ModifyGivesEveryRecordOfTheMnemonicTheNewDescription) {
  StartFromBuiltIn();
  ASSERT_EQ(Count("WAIT"), 3);
  ASSERT_TRUE(Modify("WAIT", "WAIT           等待 FPU\r\n 完成."));
  const Texts lines = CutLines(File());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "WAIT   等待FPU完成."), 3);
  EXPECT_EQ(lines.size(), 223u);
  EXPECT_TRUE(std::is_sorted(lines.rbegin(), lines.rend()));  // written descending
  EXPECT_EQ(Count("WAIT"), 3);
  EXPECT_TRUE(std::is_sorted(catalogue.records.begin(), catalogue.records.end()));
  EXPECT_EQ(pump.calls, 223);
}

TEST_F(EditingTest, ModifyReadsTheBoxAtEachMatch) {
  Start("A  1\r\nB  2\r\nB  3\r\nC  4\r\n");
  // The pass runs from the last record to the first; the user edits the box
  // after the first match.
  pump.onCall = [&](int call) {
    if (call == 2) view.descriptionText = "B later";
  };
  ASSERT_TRUE(Modify("B", "B first"));
  EXPECT_EQ(File(), "C  4\r\nB   first\r\nB   later\r\nA  1\r\n");
}

TEST_F(EditingTest, ModifyWithOneWordOrAnEmptyBox) {
  Start("A  1\r\nB  2\r\n");
  ASSERT_TRUE(Modify("B", "word"));  // no space after it: the word itself
  EXPECT_EQ(catalogue.records, (Texts{"A  1", "B   word"}));
  ASSERT_TRUE(Modify("B", "word   "));
  EXPECT_EQ(catalogue.records, (Texts{"A  1", "B   "}));
}

TEST_F(EditingTest, AHalfCharacterAtTheEndOfTheBoxNeverJoinsTwoRecords) {
  // Code page 936 turns a typed euro sign into the lone byte 80.
  Start("A  1\r\nB  2\r\nC  3\r\n");
  ASSERT_TRUE(Modify("B", "B x\x80"));
  EXPECT_EQ(catalogue.records, (Texts{"A  1", "B   x", "C  3"}));
  ASSERT_TRUE(Add("D y\x80"));
  ASSERT_TRUE(Delete("A"));
  EXPECT_EQ(File(), "B   x\r\nC  3\r\nD   y\r\n");
}

TEST_F(EditingTest, DeleteRemovesEveryRecordOfTheMnemonicAndWritesAscending) {
  StartFromBuiltIn();
  Texts expected = catalogue.records;
  std::erase_if(expected, [](const std::string& r) { return TakeField(r, " ", 1) == "WAIT"; });
  ASSERT_TRUE(Delete("WAIT"));
  EXPECT_EQ(CutLines(File()), expected);
  EXPECT_EQ(Count("WAIT"), 0);
  EXPECT_EQ(view.countCaption, CountText(220));
  EXPECT_EQ(pump.calls, 223);
}

TEST_F(EditingTest, DeleteMatchesAMnemonicThatHoldsChineseCharacters) {
  Start("寄存 x\r\nMOV  y\r\n");
  ASSERT_TRUE(Delete("寄存"));
  EXPECT_EQ(File(), "MOV  y\r\n");
}

TEST_F(EditingTest, ASearchDuringDeleteSeesTheReducedList) {
  Start("A  1\r\nB  2\r\nC  3\r\n");
  std::vector<std::size_t> sizes;
  pump.onCall = [&](int) { sizes.push_back(catalogue.records.size()); };
  ASSERT_TRUE(Delete("A"));
  EXPECT_EQ(sizes, (std::vector<std::size_t>{2, 2, 2}));
}

TEST_F(EditingTest, DeleteRemovesLazilyButAnEventSeesEveryRemovalSoFar) {
  Start("A  1\r\nA  2\r\nB  3\r\nA  5\r\nC  4\r\n");
  // Visited in ascending order: A 1, A 2, A 5, B 3, C 4. Events wait only
  // once, after A 2.
  std::vector<Texts> seen;
  int asked = 0;
  pump.waiting = [&](int) { return ++asked == 2; };
  pump.onCall = [&](int) { seen.push_back(catalogue.records); };
  ASSERT_TRUE(Delete("A"));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], (Texts{"C  4", "B  3", "A  5"}));
  EXPECT_EQ(File(), "B  3\r\nC  4\r\n");
  EXPECT_EQ(catalogue.records, (Texts{"B  3", "C  4"}));
}

TEST_F(EditingTest, ModifyAndDeleteWithNothingSelectedChangeNothing) {
  Start("B  x\r\nA  y\r\n");
  EXPECT_FALSE(Modify("", "X new"));
  EXPECT_FALSE(Delete(""));
  EXPECT_EQ(File(), "B  x\r\nA  y\r\n");
  EXPECT_EQ(fs.writeCalls, 0);
}

TEST_F(EditingTest, AFailedWriteLeavesFileListAndCountAsTheyWere) {
  Start("B  x\r\nA  y\r\n");
  const Texts items = view.items;
  const Texts records = catalogue.records;
  fs.failingWrites = 3;
  EXPECT_FALSE(Add("C z"));
  EXPECT_FALSE(Modify("A", "A new"));
  EXPECT_FALSE(Delete("A"));
  EXPECT_EQ(File(), "B  x\r\nA  y\r\n");
  EXPECT_EQ(view.items, items);
  EXPECT_EQ(catalogue.records, records);
  EXPECT_EQ(view.countCaption, CountText(2));
  EXPECT_EQ(view.descriptionText, "A new");  // the user's text stays in the box
}

TEST_F(EditingTest, AFileThatCouldNotBeReadIsNeverOverwritten) {
  Start("B  x\r\nA  y\r\n");
  fs.unreadable.insert(Path());
  view.ClearList();
  LoadCatalogue(catalogue, fs, view);
  ASSERT_TRUE(catalogue.fileUnreadable);
  EXPECT_FALSE(Add("C z"));
  EXPECT_FALSE(Modify("A", "A new"));
  EXPECT_FALSE(Delete("A"));
  EXPECT_EQ(fs.writeCalls, 0);
  fs.unreadable.clear();
  EXPECT_EQ(File(), "B  x\r\nA  y\r\n");

  // The command reloads, so once the file is readable again it is listed and
  // the next command works on it.
  EXPECT_FALSE(Add("C z"));
  EXPECT_EQ(view.items, (Texts{"A", "B"}));
  EXPECT_TRUE(Add("C z"));
  EXPECT_EQ(view.items, (Texts{"A", "B", "C"}));
}

TEST_F(EditingTest, DeletingTheLastRecordLeavesAnEmptyFileThatStaysEmpty) {
  Start("A  1\r\n");
  ASSERT_TRUE(Delete("A"));
  EXPECT_EQ(File(), "");
  EXPECT_EQ(view.countCaption, CountText(0));
  FakeCatalogueView nextStart;
  Catalogue reloaded;
  LoadCatalogue(reloaded, fs, nextStart);
  EXPECT_TRUE(reloaded.records.empty());
  EXPECT_EQ(File(), "");
}

}  // namespace
}  // namespace quenstrel
