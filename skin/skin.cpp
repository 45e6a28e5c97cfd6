#include "skin/skin.h"

#include <cstdint>
#include <limits>

#include "resources/resources.h"
#include "search/text.h"

namespace quenstrel {
namespace {

// GetSystemDirectoryA is given a buffer of this many bytes.
constexpr unsigned kSystemDirectorySize = 255;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// As Windows compares paths for ASCII letters. A double-byte character
// compares whole and exactly: its trail byte may look like a letter.
bool SamePathIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

// Character-wise: the trail byte of a double-byte character can be 0x5C.
bool EndsWithBackslash(std::string_view text) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += IsLeadByte(text[i]) ? 2 : 1) last = i;
  return !text.empty() && last == text.size() - 1 && text[last] == '\\';
}

}  // namespace

void Skin::FirstSkinStep() { LocateSkinLibrary(""); }

bool Skin::SecondSkinStep() {
  const std::string runDirectory = platform_.RunDirectory();
  // An unknown run directory must not turn into the root of the current drive.
  LocateSkinLibrary(runDirectory.empty() ? ""
                                         : runDirectory + "\\" + std::string(kSkinLibraryName));
  return AttachSkin(SkinResource(), "", 0, 0, 0);
}

void Skin::LocateSkinLibrary(std::string_view candidate) {
  skinLibraryPath_ = TrimBlanks(candidate);
  if (platform_.Exists(skinLibraryPath_)) return;
  const std::string runDirectory = platform_.RunDirectory();
  if (!runDirectory.empty()) {
    const std::string besideProgram = runDirectory + "\\" + std::string(kSkinLibraryName);
    if (platform_.Exists(besideProgram)) skinLibraryPath_ = besideProgram;
  }
  // Without a system directory the name alone would be looked for relative
  // to the current directory, which anyone may fill.
  const std::string systemDirectory = SystemDirectoryWithSlash();
  if (systemDirectory.empty()) return;
  const std::string inSystem = systemDirectory + std::string(kSkinLibraryName);
  if (platform_.Exists(inSystem)) skinLibraryPath_ = inSystem;
}

std::string Skin::SystemDirectoryWithSlash() {
  std::string text(kSystemDirectorySize, ' ');
  const unsigned length = platform_.SystemDirectory(text.data(), kSystemDirectorySize);
  // 0 is failure, and a length that does not fit means nothing was written:
  // the spaces would name a directory relative to the current one.
  if (length == 0 || length >= kSystemDirectorySize) return {};
  const std::size_t end = text.find('\0');
  if (end == std::string::npos || end == 0) return {};
  text.resize(end);
  if (!EndsWithBackslash(text)) text += '\\';
  return text;
}

bool Skin::BindSkinExport(std::string_view exportName) {
  bound_ = nullptr;
  if (!platform_.Exists(skinLibraryPath_)) return false;
  const std::string absolutePath = platform_.MakeAbsolute(skinLibraryPath_);
  if (absolutePath.empty()) return false;
  SkinPlatform::Library library = LoadedFrom(absolutePath);
  const bool loadedNow = library == nullptr;
  if (loadedNow) library = platform_.LoadLibraryAt(absolutePath);
  if (library == nullptr) return false;
  const SkinPlatform::Export found = platform_.FindExport(library, std::string(exportName));
  if (found == nullptr) {
    if (loadedNow) platform_.ReleaseLibrary(library);
    return false;
  }
  if (loadedNow) loaded_.emplace_back(absolutePath, library);
  bound_ = found;
  return true;
}

bool Skin::AttachSkin(std::string_view skinData, std::string_view skinPassword, int a, int b,
                      int c) {
  if (skinData.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return false;
  }
  if (!BindSkinExport(kAttachExportName)) return false;
  const std::string password(skinPassword);
  AttachArguments args;
  args.skinData =
      skinData.empty() ? nullptr : reinterpret_cast<const unsigned char*>(skinData.data());
  args.skinLength = static_cast<std::int32_t>(skinData.size());
  args.skinPassword = password.empty() ? nullptr : password.c_str();  // the library wants null
  args.a = a;
  args.b = b;
  args.c = c;
  const std::optional<int> result = platform_.CallAttach(bound_, args);
  bound_ = nullptr;  // the library itself stays loaded
  return result == 0;
}

SkinPlatform::Library Skin::LoadedFrom(const std::string& absolutePath) const {
  for (const auto& [path, library] : loaded_) {
    if (SamePathIgnoringCase(path, absolutePath)) return library;
  }
  return nullptr;
}

}  // namespace quenstrel
