// The three editing commands on the running program: each one's file, list,
// count and message, and what a restart then shows; and the commands that
// must write nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/editing_support_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

const std::vector<std::wstring> kProgramAndCatalogue = {L"Quenstrel.exe", kCatalogueName};

class EditingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start(223)); }

  HWND Box() const { return app.Control(id::编辑框_功能); }
  std::string BoxText() const { return app.Text(Box()); }
  void Select(const std::string& mnemonic) const {
    const int index = app.FindListItem(mnemonic);
    ASSERT_GE(index, 0) << mnemonic;
    app.SelectListItem(index);
  }
  bool NothingSelected() const {
    return SendMessageW(app.Control(id::列表框1), LB_GETCURSEL, 0, 0) == LB_ERR;
  }
  // The file holds `file`, the list and count show what it loads to, and a
  // restart in the same folder shows the same.
  void ExpectSavedAcrossARestart(const std::string& file, std::size_t count) {
    EXPECT_EQ(app.CatalogueBytes(), file);
    const std::vector<Record> loaded = LoadedRecords(file);
    EXPECT_EQ(loaded.size(), count);
    EXPECT_TRUE(ShownBy(app) == ShownFor(loaded));
    EXPECT_TRUE(NothingSelected());
    EXPECT_EQ(FolderNames(app.RunDirectory()), kProgramAndCatalogue);
    ASSERT_TRUE(app.Start(static_cast<int>(count)));
    EXPECT_TRUE(ShownBy(app) == ShownFor(loaded));
    EXPECT_EQ(app.CatalogueBytes(), file);
  }

  RunningApp app;
};

TEST_F(EditingTest, AddWritesTheRecordLastAndListsItSorted) {
  app.SetText(Box(), "lea2  取 有效 地址.");
  ASSERT_TRUE(Click(app, id::按钮_添加));
  EXPECT_EQ(BoxText(), "亲：添加汇编指令成功！");
  const std::string file = FirstRunFile() + "LEA2   取有效地址.\r\n";
  ExpectSavedAcrossARestart(file, 224);
  const int lea2 = app.FindListItem("LEA2");
  EXPECT_EQ(app.ListItem(lea2 - 1), "LEA");
}

TEST_F(EditingTest, ModifyGivesEveryWaitTheNewDescriptionAndWritesDescending) {
  Select("WAIT");
  EXPECT_EQ(BoxText(), MnemonicResult("WAIT"));  // FWAIT and the three WAIT
  app.SetText(Box(), "WAIT           等待 协处理器\r\n空闲.");
  ASSERT_TRUE(Click(app, id::按钮_修改));
  EXPECT_EQ(BoxText(), "亲：修改注解成功！");

  std::vector<std::string> lines = LinesOf(SortedBuiltInRecords());
  std::reverse(lines.begin(), lines.end());
  int replaced = 0;
  for (std::string& line : lines) {
    if (line.rfind("WAIT ", 0) == 0) {
      line = "WAIT   等待协处理器空闲.";
      ++replaced;
    }
  }
  ASSERT_EQ(replaced, 3);
  ExpectSavedAcrossARestart(FileOf(lines), 223);
}

TEST_F(EditingTest, DeleteRemovesEveryWaitAndWritesAscending) {
  Select("WAIT");
  ASSERT_TRUE(Click(app, id::按钮_删除));
  EXPECT_EQ(BoxText(), "亲：删除汇编指令成功！");
  std::vector<std::string> lines = LinesOf(SortedBuiltInRecords());
  std::erase_if(lines, [](const std::string& line) { return line.rfind("WAIT ", 0) == 0; });
  ExpectSavedAcrossARestart(FileOf(lines), 220);
  EXPECT_EQ(app.FindListItem("WAIT"), LB_ERR);
}

// Commands that would store nothing, or something other than what was
// typed, write nothing and say nothing; the typed text stays in the box.
TEST_F(EditingTest, CommandsThatWouldStoreNothingOrAQuestionMarkWriteNothing) {
  struct Case {
    const char* what;
    const char* select;  // nothing selected when empty
    std::wstring box;
    int button;
  };
  const std::wstring emoji = L"ZZZ  \x7B11\xD83D\xDE00";  // 笑, then a surrogate pair
  const Case cases[] = {
      {"modify, nothing selected", "", L"MOV  \x65B0", id::按钮_修改},
      {"delete, nothing selected", "", L"MOV  \x65B0", id::按钮_删除},
      {"add, empty box", "", L"", id::按钮_添加},
      {"add, only spaces", "", L"   \x3000 ", id::按钮_添加},
      {"add, an emoji", "", emoji, id::按钮_添加},
      {"modify, an emoji", "MOV", emoji, id::按钮_修改},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (*c.select) {
      Select(c.select);
    } else {
      SendMessageW(app.Control(id::列表框1), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    SetWideText(Box(), c.box);
    const Snapshot before = TakeSnapshot(app);
    ASSERT_EQ(before.file, FirstRunFile());
    ASSERT_EQ(before.box, c.box);
    Sleep(20);  // a rewrite would show in the file's time
    ASSERT_TRUE(Click(app, c.button));
    ExpectUnchanged(app, before);
  }
  ExpectAnswers(app);
}

}  // namespace
}  // namespace quenstrel::e2e
