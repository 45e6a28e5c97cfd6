#include "shell/win32/encoding_win.h"

#include <windows.h>

namespace quenstrel {
namespace {
constexpr UINT kGbk = 936;
}

std::wstring WideFromGbk(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int n = static_cast<int>(gbk.size());
  const int length = MultiByteToWideChar(kGbk, 0, gbk.data(), n, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), n, wide.data(), length);
  return wide;
}

std::string GbkFromWide(std::wstring_view wide, bool* lossless) {
  if (lossless) *lossless = true;
  if (wide.empty()) return {};
  const int n = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kGbk, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kGbk, 0, wide.data(), n, gbk.data(), length, nullptr, &usedDefault);
  if (lossless) *lossless = !usedDefault;
  return gbk;
}

}  // namespace quenstrel
