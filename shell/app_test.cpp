#include "shell/app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/record.h"
#include "resources/resources.h"
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

TEST_F(AppTest, ButtonsShowTheirMessageOnlyWhenTheWriteSucceeded) {
  window.descriptionText = "add  添加.";
  app.OnAddClicked();
  EXPECT_EQ(window.descriptionText, "亲：添加汇编指令成功！");
  EXPECT_EQ(window.items.size(), 6u);
  EXPECT_EQ(window.selectedIndex, -1);  // the reload leaves nothing selected

  window.selectedIndex = 0;  // ADD
  window.descriptionText = "ADD  加.";
  app.OnModifyClicked();
  EXPECT_EQ(window.descriptionText, "亲：修改注解成功！");
  EXPECT_EQ(app.catalogue().records.front(), "ADD   加.");

  window.selectedIndex = 0;
  app.OnDeleteClicked();
  EXPECT_EQ(window.descriptionText, "亲：删除汇编指令成功！");
  EXPECT_EQ(window.items.front(), "CMPXCHG");

  fs.failingWrites = 1;
  window.descriptionText = "NOP  空.";
  app.OnAddClicked();
  EXPECT_EQ(window.descriptionText, "NOP  空.");
  window.selectedIndex = -1;  // nothing selected: nothing happens
  app.OnDeleteClicked();
  app.OnModifyClicked();
  EXPECT_EQ(window.descriptionText, "NOP  空.");
  EXPECT_EQ(window.items.size(), 5u);
}

TEST_F(AppTest, AClickDuringACommandsPassIsIgnored) {
  struct Case {
    const char* name;
    std::function<void()> start;
  };
  const Case cases[] = {
      {"add",
       [&] {
         window.descriptionText = "NOP  空.";
         app.OnAddClicked();
       }},
      {"modify",
       [&] {
         window.selectedIndex = 2;
         window.descriptionText = "MOV  x";
         app.OnModifyClicked();
       }},
      {"delete",
       [&] {
         window.selectedIndex = 2;
         app.OnDeleteClicked();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int writesBefore = fs.writeCalls;
    window.Queue([&] {
      window.selectedIndex = 0;
      window.descriptionText = "INT  中断.";
      app.OnAddClicked();
      app.OnModifyClicked();
      app.OnDeleteClicked();
    });
    c.start();
    EXPECT_EQ(fs.writeCalls, writesBefore + 1);
    EXPECT_TRUE(window.pending.empty());
    // Only the running command wrote; its reload is complete and consistent.
    EXPECT_EQ(window.items.size(), app.catalogue().records.size());
  }
  EXPECT_EQ(std::count(window.items.begin(), window.items.end(), "INT"), 0);
}

// The panel's operations in the order they are called; the fake keeps the state.
class PanelLoggingWindow : public FakeWindow {
 public:
  std::vector<std::string> panelCalls;

  void ShowPicturePanel() override {
    panelCalls.push_back("show");
    FakeWindow::ShowPicturePanel();
  }
  void HidePicturePanel() override {
    panelCalls.push_back("hide");
    FakeWindow::HidePicturePanel();
  }
  void SetPanelPicture(std::string_view pngBytes) override {
    panelCalls.push_back(pngBytes == FormatPicture()   ? "format"
                         : pngBytes == DeletePicture() ? "delete"
                                                       : "other");
    FakeWindow::SetPanelPicture(pngBytes);
  }
};

class PicturePanelTest : public testing::Test {
 protected:
  void SetUp() override {
    fs.files[fs.runDirectory + "\\汇编指令集.txt"] =
        "MOV     传送字或字节.  \r\nXCHG    交换寄存器.  \r\n";
    app.OnWindowCreated();
  }
  std::string Shown() const {
    if (!window.panelVisible) return "hidden";
    return window.panelPicture == FormatPicture()   ? "format"
           : window.panelPicture == DeletePicture() ? "delete"
                                                    : "other";
  }

  FakeFileSystem fs;
  PanelLoggingWindow window;
  App app{window, fs};
};

TEST_F(PicturePanelTest, EachLabelShowsItsPictureAndThePanelHidesItself) {
  EXPECT_EQ(Shown(), "hidden");
  struct Step {
    const char* press;
    const char* shown;
    Texts calls;  // show before the picture, so only the new picture is painted
  };
  const Step steps[] = {
      {"格式", "format", {"show", "format"}}, {"格式", "format", {"show", "format"}},
      {"删除", "delete", {"show", "delete"}}, {"删除", "delete", {"show", "delete"}},
      {"格式", "format", {"show", "format"}}, {"panel", "hidden", {"hide"}},
      {"删除", "delete", {"show", "delete"}}, {"panel", "hidden", {"hide"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.press);
    window.panelCalls.clear();
    const std::string press = step.press;
    if (press == "格式") app.OnFormatLabelPressed();
    if (press == "删除") app.OnDeleteLabelPressed();
    if (press == "panel") app.OnPicturePanelPressed();
    EXPECT_EQ(Shown(), step.shown);
    EXPECT_EQ(window.panelCalls, step.calls);
  }
  EXPECT_EQ(window.panelPicture, DeletePicture());  // hiding keeps the picture
}

TEST_F(PicturePanelTest, OtherEventsLeaveThePanelAndStillFillTheBoxBeneathIt) {
  app.OnFormatLabelPressed();
  window.panelCalls.clear();
  window.queryText = "xch";
  app.OnQueryTextChanged();
  EXPECT_EQ(window.descriptionText, "XCHG           交换寄存器.\r\n");
  window.queryText = "jh";
  app.OnQueryKeyDown(13);
  EXPECT_EQ(window.descriptionText, "XCHG           交换寄存器.\r\n");
  window.selectedIndex = 0;
  app.OnListItemSelected();
  EXPECT_EQ(window.descriptionText, "MOV            传送字或字节.\r\n");
  window.descriptionText = "NOP  空.";
  app.OnAddClicked();
  EXPECT_EQ(window.descriptionText, "亲：添加汇编指令成功！");
  window.selectedIndex = 0;
  app.OnModifyClicked();
  window.selectedIndex = 0;
  app.OnDeleteClicked();
  EXPECT_EQ(window.descriptionText, "亲：删除汇编指令成功！");
  EXPECT_EQ(Shown(), "format");
  EXPECT_EQ(window.panelCalls, Texts{});
}

}  // namespace
}  // namespace quenstrel
