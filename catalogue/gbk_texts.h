#pragma once
// The program's fixed Chinese texts, as the GBK bytes it stores and shows.
// Spelt as escapes so that every compiler gives these bytes, whatever its
// execution character set; gbk_texts_test.cpp pins them to the characters.

namespace quenstrel::gbk {

// "\汇编指令集.txt", appended to the run directory.
inline constexpr char kCatalogueFileName[] = "\\\xBB\xE3\xB1\xE0\xD6\xB8\xC1\xEE\xBC\xAF.txt";

// The count caption: "共有：" + count + "条汇编指令！".
inline constexpr char kCountBefore[] = "\xB9\xB2\xD3\xD0\xA3\xBA";
inline constexpr char kCountAfter[] = "\xCC\xF5\xBB\xE3\xB1\xE0\xD6\xB8\xC1\xEE\xA3\xA1";

// What the description box shows after a command's write succeeded.
// "亲：添加汇编指令成功！"
inline constexpr char kAddSucceeded[] =
    "\xC7\xD7\xA3\xBA\xCC\xED\xBC\xD3\xBB\xE3\xB1\xE0\xD6\xB8\xC1\xEE\xB3\xC9\xB9\xA6\xA3\xA1";
// "亲：修改注解成功！"
inline constexpr char kModifySucceeded[] =
    "\xC7\xD7\xA3\xBA\xD0\xDE\xB8\xC4\xD7\xA2\xBD\xE2\xB3\xC9\xB9\xA6\xA3\xA1";
// "亲：删除汇编指令成功！"
inline constexpr char kDeleteSucceeded[] =
    "\xC7\xD7\xA3\xBA\xC9\xBE\xB3\xFD\xBB\xE3\xB1\xE0\xD6\xB8\xC1\xEE\xB3\xC9\xB9\xA6\xA3\xA1";

}  // namespace quenstrel::gbk
