// Saves that meet a fault on the running program, of the kinds that need no
// privileges: the catalogue held open by another program, the catalogue
// marked read-only, and the program killed in the middle of a save. Each
// leaves the old file byte for byte, shows no success message, leaves no
// temporary file and keeps the window answering.
#include <gtest/gtest.h>
#include <windows.h>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/editing_support_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

const std::vector<std::wstring> kProgramAndCatalogue = {L"Quenstrel.exe", kCatalogueName};

std::wstring CataloguePath(const RunningApp& app) {
  return app.RunDirectory() + L"\\" + kCatalogueName;
}

HWND Box(const RunningApp& app) { return app.Control(id::编辑框_功能); }

// Without sharing, the file cannot even be read: the start-up load lists
// nothing. An edit must then not write the one new record over the 223 it
// never saw, also once the file is free again; the next edit after a load
// that could read the file works.
TEST(HeldCatalogueTest, AFileUnreadableAtStartUpIsNeverOverwritten) {
  RunningApp app(FirstRunFile());
  HeldFile held(CataloguePath(app), false);
  ASSERT_TRUE(held.Held());
  ASSERT_TRUE(app.Start(0));
  EXPECT_EQ(app.Text(app.Control(id::标签_指令个数)), "共有：0条汇编指令！");
  EXPECT_EQ(app.CatalogueBytes(), std::nullopt);  // we cannot read it either

  app.SetText(Box(app), "zzz  新 的");
  Snapshot before = TakeSnapshot(app);
  ASSERT_TRUE(Click(app, id::按钮_添加));
  ExpectUnchanged(app, before);
  ExpectAnswers(app);

  held.Release();
  app.SetText(Box(app), "zzz  新 的");
  before = TakeSnapshot(app);
  ASSERT_EQ(before.file, FirstRunFile());
  ASSERT_TRUE(Click(app, id::按钮_添加));
  EXPECT_EQ(app.Text(Box(app)), "zzz  新 的");  // no message
  EXPECT_EQ(app.CatalogueBytes(), FirstRunFile());
  EXPECT_EQ(LastWriteTime(CataloguePath(app)), before.written);
  EXPECT_TRUE(ShownBy(app) == ShownFor(SortedBuiltInRecords()));  // the refused edit reloaded
  EXPECT_EQ(FolderNames(app.RunDirectory()), kProgramAndCatalogue);

  ASSERT_TRUE(app.Start(223));
  EXPECT_EQ(app.CatalogueBytes(), FirstRunFile());
  app.SetText(Box(app), "zzz  新 的");
  ASSERT_TRUE(Click(app, id::按钮_添加));
  EXPECT_EQ(app.Text(Box(app)), "亲：添加汇编指令成功！");
  EXPECT_EQ(app.CatalogueBytes(), FirstRunFile() + "ZZZ   新的\r\n");
}

// Held while the program runs, the file cannot be replaced: every command
// fails after its bounded retries and leaves the file. A reader that shares
// reading lets the reload show the old list; one that does not share at all
// keeps the reload from reading, and the list stays empty until a load can
// read the file again.
TEST(HeldCatalogueTest, AFileHeldDuringAnEditIsLeftAsItWas) {
  for (const bool sharedRead : {true, false}) {
    for (const EditCommand& command : kEditCommands) {
      SCOPED_TRACE(std::string(command.what) +
                   (sharedRead ? ", shared for reading" : ", unshared"));
      RunningApp app(FirstRunFile());
      ASSERT_TRUE(app.Start(223));
      PrepareCommand(app, command);
      const Snapshot before = TakeSnapshot(app);
      HeldFile held(CataloguePath(app), sharedRead);
      ASSERT_TRUE(held.Held());
      ASSERT_TRUE(Click(app, command.button));
      if (sharedRead) {
        ExpectUnchanged(app, before);
      } else {
        EXPECT_TRUE(WideText(Box(app)) == before.box);
        EXPECT_EQ(app.ListCount(), 0);
        EXPECT_EQ(LastWriteTime(CataloguePath(app)), before.written);
        EXPECT_EQ(FolderNames(app.RunDirectory()), kProgramAndCatalogue);
      }
      ExpectAnswers(app);
      held.Release();
      EXPECT_EQ(app.CatalogueBytes(), FirstRunFile());
      ASSERT_TRUE(app.Start(223));
      EXPECT_TRUE(ShownBy(app) == ShownFor(SortedBuiltInRecords()));
    }
  }
}

// Windows refuses to replace a read-only file and Wine would not: the
// program refuses it itself, and the attribute stays.
TEST(ReadOnlyCatalogueTest, EveryCommandFailsAndTheAttributeStays) {
  RunningApp app(FirstRunFile());
  ASSERT_TRUE(app.Start(223));
  ASSERT_TRUE(SetFileAttributesW(CataloguePath(app).c_str(), FILE_ATTRIBUTE_READONLY));
  for (const EditCommand& command : kEditCommands) {
    SCOPED_TRACE(command.what);
    PrepareCommand(app, command);
    const Snapshot before = TakeSnapshot(app);
    ASSERT_EQ(before.file, FirstRunFile());
    ASSERT_TRUE(Click(app, command.button));
    ExpectUnchanged(app, before);
    EXPECT_EQ(GetFileAttributesW(CataloguePath(app).c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  ExpectAnswers(app);
  ASSERT_TRUE(app.Start(223));
  EXPECT_TRUE(ShownBy(app) == ShownFor(SortedBuiltInRecords()));
}

}  // namespace
}  // namespace quenstrel::e2e
