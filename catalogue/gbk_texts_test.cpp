#include "catalogue/gbk_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace quenstrel {
namespace {

// The escapes against the characters as the compiler turns them into GBK:
// two spellings that must agree byte for byte.
TEST(GbkTexts, AreTheGbkBytesOfTheirCharacters) {
  struct Case {
    const char* escaped;
    const char* characters;
  };
  const Case cases[] = {
      {gbk::kCatalogueFileName, "\\汇编指令集.txt"},
      {gbk::kCountBefore, "共有："},
      {gbk::kCountAfter, "条汇编指令！"},
      {gbk::kAddSucceeded, "亲：添加汇编指令成功！"},
      {gbk::kModifySucceeded, "亲：修改注解成功！"},
      {gbk::kDeleteSucceeded, "亲：删除汇编指令成功！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.characters);
    EXPECT_EQ(std::string(c.escaped), std::string(c.characters));
  }
}

}  // namespace
}  // namespace quenstrel
