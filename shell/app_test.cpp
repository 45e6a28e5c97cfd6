#include "shell/app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/record.h"
#include "search/text.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_window.h"

namespace quenstrel {
namespace {

using Texts = std::vector<std::string>;

class AppTest : public testing::Test {
 protected:
  void SetUp() override {
    fs.files[fs.runDirectory + "\\汇编指令集.txt"] =
        "MOV     传送字或字节.  \r\n"
        "MOVSX   先符号扩展,再传送.  \r\n"
        "FCMOVB  ST(0),ST(i)  <时传送  \r\n"
        "XCHG    交换寄存器.  \r\n"
        "CMPXCHG 比较并交换.  \r\n";
    app.OnWindowCreated();
  }
  void Type(const std::string& text) {
    window.queryText = text;
    app.OnQueryTextChanged();
  }
  Texts ShownMnemonics() {
    Texts result;
    for (const std::string& line : CutLines(window.descriptionText)) {
      result.push_back(TakeField(line, " ", 1));
    }
    return result;
  }

  FakeFileSystem fs;
  FakeWindow window;
  App app{window, fs};
};

TEST_F(AppTest, CreationLoadsThenAttachesTheSkinThenFocusesTheQuery) {
  FakeWindow fresh;
  App other(fresh, fs);
  bool attached = false;
  other.attachSkin = [&] {
    attached = true;
    EXPECT_EQ(fresh.items.size(), 5u);  // the list is complete first
    EXPECT_EQ(fresh.countCaption, "共有：5条汇编指令！");
    EXPECT_FALSE(fresh.queryFocused);
  };
  other.OnWindowCreated();
  EXPECT_TRUE(attached);
  EXPECT_TRUE(fresh.queryFocused);
  EXPECT_EQ(fresh.items, (Texts{"CMPXCHG", "FCMOVB", "MOV", "MOVSX", "XCHG"}));
}

TEST_F(AppTest, TypingSearchesMnemonicsUpperCasedAndEndsAtTheLastLine) {
  Type("mov");
  const std::string lower = window.descriptionText;
  EXPECT_EQ(ShownMnemonics(), (Texts{"FCMOVB", "MOV", "MOVSX"}));
  EXPECT_TRUE(window.descriptionShowsEnd);
  Type("MOV");
  EXPECT_EQ(window.descriptionText, lower);
  Type("");
  EXPECT_EQ(window.descriptionText, "");
  Type("mov ");
  EXPECT_EQ(window.descriptionText, "");
}

TEST_F(AppTest, EnterSearchesDescriptionsByInitialsAndShowsFromTheStart) {
  window.queryText = "jcq";
  app.OnQueryKeyDown(65);  // other keys act only through the change event
  EXPECT_EQ(window.descriptionText, "");
  app.OnQueryKeyDown(13);
  EXPECT_EQ(ShownMnemonics(), Texts{"XCHG"});
  EXPECT_FALSE(window.descriptionShowsEnd);
  window.queryText = "寄存器";
  app.OnQueryKeyDown(13);
  EXPECT_EQ(ShownMnemonics(), Texts{"XCHG"});
  window.queryText = "JCQ";
  app.OnQueryKeyDown(13);
  EXPECT_EQ(window.descriptionText, "");
  window.descriptionText = "old";
  window.queryText = "";
  app.OnQueryKeyDown(13);
  EXPECT_EQ(window.descriptionText, "");
}

TEST_F(AppTest, SelectingShowsEveryMnemonicThatContainsTheItem) {
  window.selectedIndex = 2;  // MOV
  app.OnListItemSelected();
  EXPECT_EQ(ShownMnemonics(), (Texts{"FCMOVB", "MOV", "MOVSX"}));
  EXPECT_FALSE(window.descriptionShowsEnd);
  window.selectedIndex = -1;
  app.OnListItemSelected();
  EXPECT_EQ(window.descriptionText, "");
}

TEST_F(AppTest, ANestedChangeEmptiesAndAppendsAndTheOlderResultFollows) {
  window.queryText = "XCHG";
  window.Queue([&] { Type("MOVS"); });  // the user types on during the search
  app.OnQueryTextChanged();
  EXPECT_EQ(ShownMnemonics(), (Texts{"MOVSX", "CMPXCHG", "XCHG"}));
}

TEST_F(AppTest, AResumedEnterOrSelectionSetsItsOwnResult) {
  window.queryText = "jcq";
  window.Queue([&] { Type("MOV"); });
  app.OnQueryKeyDown(13);
  EXPECT_EQ(ShownMnemonics(), Texts{"XCHG"});

  window.selectedIndex = 4;  // XCHG
  window.Queue([&] { Type("MOVSX"); });
  app.OnListItemSelected();
  EXPECT_EQ(ShownMnemonics(), (Texts{"CMPXCHG", "XCHG"}));
}

TEST_F(AppTest, AWindowClosedDuringASearchEndsTheProgramAfterIt) {
  window.queryText = "MOV";
  window.QueueQuit();
  window.Queue([&] { ADD_FAILURE() << "nothing after the quit request runs"; });
  app.OnQueryTextChanged();
  EXPECT_EQ(ShownMnemonics(), (Texts{"FCMOVB", "MOV", "MOVSX"}));
  window.RunMessageLoop();
  EXPECT_TRUE(window.quit);
}

}  // namespace
}  // namespace quenstrel
