#pragma once
// The program's texts are GBK bytes; Windows takes UTF-16. Every crossing
// converts with code page 936 explicitly, so the system's own code page never
// matters.
#include <string>
#include <string_view>

namespace quenstrel {

std::wstring WideFromGbk(std::string_view gbk);

// `lossless` (when given) tells whether every character had a GBK form; the
// others come out as "?".
std::string GbkFromWide(std::wstring_view wide, bool* lossless = nullptr);

}  // namespace quenstrel
