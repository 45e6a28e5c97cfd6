#include "skin/skin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "resources/resources.h"

namespace quenstrel {
namespace {

const std::string kRunCopy = "C:\\Quenstrel\\SkinH_EL.dll";
const std::string kSystemCopy = "C:\\WINDOWS\\system32\\SkinH_EL.dll";
const std::string kFullWidth = "\xA1\xA1";  // the full-width space

struct RecordedCall {
  std::uintptr_t exportId;
  const unsigned char* data;
  std::int32_t length;
  std::optional<std::string> password;  // nothing: a null pointer
  std::int32_t a, b, c;
};

// Paths exist when listed; a path loads when it has an entry in `libraries`.
class FakeSkinPlatform : public SkinPlatform {
 public:
  std::string runDirectory = "C:\\Quenstrel";
  std::optional<std::string> systemDirectory = "C:\\WINDOWS\\system32";  // nothing: the call fails
  std::set<std::string> existing;
  std::map<std::string, std::set<std::string>> libraries;  // path -> its exports
  std::optional<int> attachResult = 0;

  std::vector<std::string> loads;
  std::vector<Library> releases;
  std::vector<RecordedCall> calls;

  void AddLibrary(const std::string& path, std::set<std::string> exports = {"SkinH_AttachRes"}) {
    existing.insert(path);
    libraries[path] = std::move(exports);
  }

  bool Exists(const std::string& path) override { return !path.empty() && existing.count(path); }
  std::string RunDirectory() override { return runDirectory; }
  unsigned SystemDirectory(char* buffer, unsigned size) override {
    if (!systemDirectory) return 0;
    const auto length = static_cast<unsigned>(systemDirectory->size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, systemDirectory->c_str(), length + 1);
    return length;
  }
  std::string MakeAbsolute(const std::string& path) override { return path; }
  Library LoadLibraryAt(const std::string& absolutePath) override {
    loads.push_back(absolutePath);
    if (!libraries.count(absolutePath)) return nullptr;
    return reinterpret_cast<Library>(static_cast<std::uintptr_t>(loads.size()));
  }
  Export FindExport(Library library, const std::string& name) override {
    const std::string& path = loads.at(reinterpret_cast<std::uintptr_t>(library) - 1);
    if (!libraries.at(path).count(name)) return nullptr;
    return reinterpret_cast<Export>(reinterpret_cast<std::uintptr_t>(library) * 16);
  }
  void ReleaseLibrary(Library library) override { releases.push_back(library); }
  std::optional<int> CallAttach(Export attach, const AttachArguments& args) override {
    RecordedCall call{reinterpret_cast<std::uintptr_t>(attach),
                      args.skinData,
                      args.skinLength,
                      std::nullopt,
                      args.a,
                      args.b,
                      args.c};
    if (args.skinPassword) call.password = args.skinPassword;
    calls.push_back(call);
    return attachResult;
  }
};

TEST(LocateSkinLibrary, TakesAnExistingCandidateElseTheSystemCopyElseTheRunCopy) {
  struct Case {
    const char* name;
    std::vector<std::string> existing;
    std::string candidate;
    std::string expected;
  };
  const std::vector<std::string> both = {kRunCopy, kSystemCopy};
  const std::vector<Case> cases = {
      {"only beside the program", {kRunCopy}, "", kRunCopy},
      {"only in the system directory", {kSystemCopy}, "", kSystemCopy},
      {"both, empty candidate: the system copy", both, "", kSystemCopy},
      {"both, the run copy as candidate: it wins", both, kRunCopy, kRunCopy},
      {"run copy asked for but missing", {kSystemCopy}, kRunCopy, kSystemCopy},
      {"neither: the empty candidate stays", {}, "", ""},
      {"neither: the trimmed candidate stays",
       {},
       kFullWidth + "D:\\x\\SkinH_EL.dll" + kFullWidth + " ",
       "D:\\x\\SkinH_EL.dll"},
      {"an existing candidate elsewhere wins",
       {kRunCopy, kSystemCopy, "D:\\s\\SkinH_EL.dll"},
       "D:\\s\\SkinH_EL.dll",
       "D:\\s\\SkinH_EL.dll"},
      {"ASCII and full-width blanks trimmed", both, "\xA1\xA1 " + kRunCopy + " \xA1\xA1", kRunCopy},
      {"inner blanks kept",
       {kSystemCopy, "D:\\my \xA1\xA1skins\\SkinH_EL.dll"},
       "  D:\\my \xA1\xA1skins\\SkinH_EL.dll",
       "D:\\my \xA1\xA1skins\\SkinH_EL.dll"},
      {"a tab is no blank", both, "\t" + kRunCopy, kSystemCopy},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSkinPlatform platform;
    platform.existing.insert(c.existing.begin(), c.existing.end());
    Skin skin(platform);
    skin.LocateSkinLibrary(c.candidate);
    EXPECT_EQ(skin.SkinLibraryPath(), c.expected);
  }
}

// "\SkinH_EL.dll" would be the root of the current drive, "SkinH_EL.dll"
// the current directory: neither may be picked up.
TEST(LocateSkinLibrary, AnUnknownDirectoryIsSkippedNotTakenAsRelative) {
  const std::string planted[] = {"\\SkinH_EL.dll", "SkinH_EL.dll",
                                 std::string(255, ' ') + "\\SkinH_EL.dll"};
  for (const bool runKnown : {false, true}) {
    SCOPED_TRACE(runKnown ? "system directory unknown" : "both unknown");
    FakeSkinPlatform platform;
    platform.systemDirectory.reset();
    if (!runKnown) platform.runDirectory.clear();
    for (const std::string& path : planted) platform.AddLibrary(path);
    platform.AddLibrary(kRunCopy);
    Skin skin(platform);
    skin.FirstSkinStep();
    EXPECT_EQ(skin.SkinLibraryPath(), runKnown ? kRunCopy : "");
    EXPECT_EQ(skin.SecondSkinStep(), runKnown);
    EXPECT_EQ(platform.loads,
              runKnown ? std::vector<std::string>{kRunCopy} : std::vector<std::string>{});
  }
}

TEST(SystemDirectoryWithSlash, EndsInOneBackslashOrIsEmptyWhenUnknown) {
  const std::string fits(254, 'd');  // with its NUL exactly the 255 bytes
  struct Case {
    const char* name;
    std::optional<std::string> written;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"without a trailing backslash", "C:\\WINDOWS\\system32", "C:\\WINDOWS\\system32\\"},
      {"with one", "C:\\", "C:\\"},
      {"a trail byte 0x5C is no backslash", "C:\\\x81\x5C", "C:\\\x81\x5C\\"},
      {"a backslash after a double-byte character", "C:\\\x81\x5C\\", "C:\\\x81\x5C\\"},
      {"the longest that fits", fits, fits + "\\"},
      {"one byte too long", fits + "d", ""},
      {"empty", "", ""},
      {"the call fails", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSkinPlatform platform;
    platform.systemDirectory = c.written;
    EXPECT_EQ(Skin(platform).SystemDirectoryWithSlash(), c.expected);
  }
}

TEST(AttachSkin, WithoutALibraryNothingIsLoadedOrCalled) {
  FakeSkinPlatform platform;
  Skin skin(platform);
  skin.FirstSkinStep();
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_EQ(skin.SkinLibraryPath(), kRunCopy);
  EXPECT_FALSE(skin.BindSkinExport("SkinH_AttachRes"));
  EXPECT_TRUE(platform.loads.empty());
  EXPECT_TRUE(platform.calls.empty());
}

// A directory, or a file that is no library: chosen, not loadable, and the
// system directory's library is not tried instead.
TEST(AttachSkin, AChosenPathThatDoesNotLoadGivesThePlainLook) {
  FakeSkinPlatform platform;
  platform.existing.insert(kRunCopy);
  platform.AddLibrary(kSystemCopy);
  Skin skin(platform);
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_EQ(platform.loads, std::vector<std::string>{kRunCopy});
  EXPECT_TRUE(platform.calls.empty());
  EXPECT_TRUE(platform.releases.empty());
}

TEST(AttachSkin, ALibraryWithoutTheExportIsReleasedAndNotKept) {
  FakeSkinPlatform platform;
  platform.AddLibrary(kRunCopy, {"SkinH_Other"});
  Skin skin(platform);
  EXPECT_FALSE(skin.SecondSkinStep());
  ASSERT_EQ(platform.loads.size(), 1u);
  EXPECT_EQ(platform.releases, std::vector<SkinPlatform::Library>{reinterpret_cast<void*>(1)});
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_EQ(platform.loads.size(), 2u);
  EXPECT_EQ(platform.releases.size(), 2u);
  EXPECT_TRUE(platform.calls.empty());
}

TEST(AttachSkin, ALoadedLibraryIsReusedWhateverTheLetterCaseAndNeverReleased) {
  FakeSkinPlatform platform;
  platform.AddLibrary(kRunCopy, {"SkinH_AttachRes"});
  platform.AddLibrary("c:\\quenstrel\\skinh_el.DLL", {"SkinH_AttachRes"});
  Skin skin(platform);
  EXPECT_TRUE(skin.SecondSkinStep());
  skin.LocateSkinLibrary("c:\\quenstrel\\skinh_el.DLL");
  EXPECT_TRUE(skin.AttachSkin(SkinResource(), "", 0, 0, 0));
  EXPECT_EQ(platform.loads, std::vector<std::string>{kRunCopy});
  ASSERT_EQ(platform.calls.size(), 2u);
  EXPECT_EQ(platform.calls[0].exportId, platform.calls[1].exportId);
  // Not loaded just now, so a missing export leaves it loaded.
  EXPECT_FALSE(skin.BindSkinExport("SkinH_Missing"));
  EXPECT_TRUE(platform.releases.empty());
}

// 0x41 and 0x61 as trail bytes belong to two different characters.
TEST(AttachSkin, DoubleByteCharactersInPathsAreNotCaseFolded) {
  FakeSkinPlatform platform;
  const std::string first = "D:\\\x81\x41.dll";
  const std::string second = "D:\\\x81\x61.dll";
  platform.AddLibrary(first);
  platform.AddLibrary(second);
  Skin skin(platform);
  for (const std::string& path : {first, second}) {
    skin.LocateSkinLibrary(path);
    EXPECT_TRUE(skin.AttachSkin("x", "", 0, 0, 0));
  }
  EXPECT_EQ(platform.loads, (std::vector<std::string>{first, second}));
}

TEST(AttachSkin, SucceedsOnlyWhenTheCallReturnsZeroOnABalancedStack) {
  const std::vector<std::pair<std::optional<int>, bool>> cases = {
      {0, true}, {1, false}, {-1, false}, {std::nullopt, false}};
  for (const auto& [result, attached] : cases) {
    SCOPED_TRACE(result ? std::to_string(*result) : "unbalanced stack");
    FakeSkinPlatform platform;
    platform.AddLibrary(kRunCopy);
    platform.attachResult = result;
    Skin skin(platform);
    EXPECT_EQ(skin.SecondSkinStep(), attached);
    EXPECT_EQ(platform.calls.size(), 1u);
    EXPECT_TRUE(platform.releases.empty());
  }
}

TEST(AttachSkin, HandsOverTheSkinANullPasswordAndTheIntegersInOrder) {
  FakeSkinPlatform platform;
  platform.AddLibrary(kRunCopy);
  Skin skin(platform);
  ASSERT_TRUE(skin.SecondSkinStep());
  const std::string data = "\x81\x40skin";
  ASSERT_TRUE(skin.AttachSkin(data, "\xC3\xDC", 1, -2, 3));
  ASSERT_TRUE(skin.AttachSkin("", "", 0, 0, 0));
  ASSERT_EQ(platform.calls.size(), 3u);

  const RecordedCall& step = platform.calls[0];
  EXPECT_EQ(step.data, reinterpret_cast<const unsigned char*>(SkinResource().data()));
  EXPECT_EQ(step.length, 20275);
  EXPECT_EQ(step.password, std::nullopt);
  EXPECT_EQ(std::vector<std::int32_t>({step.a, step.b, step.c}), std::vector<std::int32_t>(3, 0));

  const RecordedCall& direct = platform.calls[1];
  EXPECT_EQ(direct.data, reinterpret_cast<const unsigned char*>(data.data()));
  EXPECT_EQ(direct.length, 6);
  EXPECT_EQ(direct.password, std::optional<std::string>("\xC3\xDC"));
  EXPECT_EQ(std::vector<std::int32_t>({direct.a, direct.b, direct.c}),
            std::vector<std::int32_t>({1, -2, 3}));

  EXPECT_EQ(platform.calls[2].data, nullptr);
  EXPECT_EQ(platform.calls[2].length, 0);
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return value;
}

// The library reads the file; the program only carries it. Its sections
// must still cover the file exactly, so no byte is unaccounted for.
TEST(SkinResource, IsASkinFileWhoseSectionsTileItsFixedSize) {
  const std::string_view skin = SkinResource();
  ASSERT_EQ(skin.size(), 20275u);
  EXPECT_EQ(skin.substr(0, 4), ".SHE");
  EXPECT_EQ(ReadU32(skin, 8), 20275u);
  const std::uint32_t count = ReadU32(skin, 12) & 0xFFFF;
  const std::uint32_t table = ReadU32(skin, 16);
  std::uint32_t next = table + 16 * count;
  for (std::uint32_t i = 0; i < count; ++i) {
    SCOPED_TRACE(std::string(skin.substr(table + 16 * i, 4)));
    EXPECT_EQ(ReadU32(skin, table + 16 * i + 4), next);
    next += ReadU32(skin, table + 16 * i + 8);
  }
  EXPECT_EQ(next, 20275u);
}

}  // namespace
}  // namespace quenstrel
