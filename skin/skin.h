#pragma once
// Finds the optional skin library beside the program or in the system
// directory and hands it the built-in skin.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "skin/skin_platform.h"

namespace quenstrel {

inline constexpr std::string_view kSkinLibraryName = "SkinH_EL.dll";
inline constexpr std::string_view kAttachExportName = "SkinH_AttachRes";

class Skin {
 public:
  explicit Skin(SkinPlatform& platform) : platform_(platform) {}

  // At start-up, before the window exists.
  void FirstSkinStep();
  // Once the window has been created: the run directory's copy is preferred.
  // The result (whether the skin was attached) is for tests; the program
  // does not use it.
  bool SecondSkinStep();

  void LocateSkinLibrary(std::string_view candidate);
  // "" when the system directory cannot be obtained.
  std::string SystemDirectoryWithSlash();
  bool BindSkinExport(std::string_view exportName);
  bool AttachSkin(std::string_view skinData, std::string_view skinPassword, int a, int b, int c);

  const std::string& SkinLibraryPath() const { return skinLibraryPath_; }

 private:
  SkinPlatform::Library LoadedFrom(const std::string& absolutePath) const;

  SkinPlatform& platform_;
  std::string skinLibraryPath_;
  // Libraries loaded here stay loaded until the process ends: the skin keeps
  // working through them. Never released once bound.
  std::vector<std::pair<std::string, SkinPlatform::Library>> loaded_;
  SkinPlatform::Export bound_ = nullptr;
};

}  // namespace quenstrel
