// Skins and textures made by other people (see PROVENANCE.md of the shared
// test data): each decodes to Pillow's texels or is refused by name.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "image/image_codecs.h"
#include "tests/skin/image_test_support.h"

namespace mok::test {
namespace {

struct RealImage {
  const char* path;        // below real/
  const char* refused;     // what the file is, when skins refuse it; nullptr: decoded
  const char* notIndexed;  // what it is, when phong maps refuse it; nullptr: indices kept
  bool alpha = false;      // a 32-bit TGA: X holds the alpha byte
};

constexpr const char* kNoBmpIndices = "BMPs must be 8bit! - Aborting";

const RealImage kRealImages[] = {
    {"images/dq2_hkbk.tga", nullptr, "a 24-bit TGA"},
    {"images/ft_UIBlack.pcx", nullptr, nullptr},  // 1 texel wide, lines padded to 2 bytes
    {"images/gmdx_WeaponHandsTex0.bmp", nullptr, nullptr},  // 255 palette entries
    {"images/irs_Info_8_Bit_Top_Down.bmp", nullptr, nullptr},
    {"images/irs_ccm8.tga", "a colour-mapped TGA", "a colour-mapped TGA"},
    {"images/irs_pal8rle.bmp", nullptr, nullptr},  // RLE8
    {"images/irs_top_left.tga", nullptr, "a 32-bit TGA", true},  // packets run over row ends
    {"images/irs_utc16.tga", nullptr, "a 16-bit TGA"},
    {"images/lgd_CenterRing.bmp", nullptr, nullptr},  // 8-bit V5 claiming BI_BITFIELDS
    {"images/lgd_Eye.bmp", nullptr, kNoBmpIndices},    // 32-bit BI_BITFIELDS
    {"images/lgd_JPulse3rd_01.pcx", nullptr, nullptr},
    {"images/lgd_ScreenCordinates.bmp", "a 4-bit BMP", kNoBmpIndices},
    {"images/m64_grenade_skin.tga", nullptr, "a 24-bit TGA"},
    {"images/m64_i_powershield.tga", nullptr, "a 32-bit TGA", true},
    {"images/m64_k_explopack.pcx", nullptr, "a 24-bit PCX"},  // three 8-bit planes
    {"images/m64_trim3.tga", nullptr, "a 32-bit TGA", true},
    {"images/pg_BeltDoritos.bmp", nullptr, nullptr},  // 75 palette entries
    {"images/pg_CTEliteArmourTex1.pcx", nullptr, nullptr},
    {"images/pg_CTEliteHelmetTex1.pcx", nullptr, nullptr},
    {"images/pg_GalaxyTex1.bmp", nullptr, kNoBmpIndices},
    {"images/pg_SaladTex1.bmp", nullptr, kNoBmpIndices},
    {"images/siege_HUD_sgRubber.bmp", nullptr, nullptr},
    {"images/siege_JGLauncherSkin.pcx", nullptr, nullptr},
    {"images/siege_sg_Jgrenade1.PCX", nullptr, nullptr},
    {"images/tb_burgerbun.pcx", nullptr, nullptr},
    {"images/tb_coin1001.pcx", nullptr, nullptr},
    {"images/ums_Gibb0.pcx", nullptr, nullptr},
    {"images/ums_Jmarine1.pcx", nullptr, nullptr},
    {"images/ums_Sentry1.pcx", nullptr, nullptr},
    {"images/ums_UMSB0.bmp", nullptr, nullptr},
    {"images/ums_ZombieGlass.pcx", "a 4-bit PCX", "a 4-bit PCX"},
    {"images/zod_F360.pcx", nullptr, nullptr},
    {"images/zod_f117_gray.pcx", nullptr, nullptr},
    {"md2/dq2_ammo_m4/skin.pcx", nullptr, nullptr},  // Quake 2: palette without its 0x0C marker
    {"md2/dq2_bpool/fire.pcx", nullptr, nullptr},
    {"md2/dq2_bpool/green.pcx", nullptr, nullptr},
    {"md2/dq2_bpool/lavender.pcx", nullptr, nullptr},
    {"md2/dq2_bpool/red.pcx", nullptr, nullptr},
    {"md2/dq2_bpool/yellow.pcx", nullptr, nullptr},
    {"md2/dq2_null/null.pcx", nullptr, nullptr},
    {"md2/dq2_sydney/Amber.PCX", nullptr, nullptr},
    {"md2/dq2_sydney/sydney.PCX", nullptr, nullptr},
    {"md2/dq2_v_pistol/skin.pcx", nullptr, nullptr},
    {"md2/m64_crate/skin.tga", nullptr, "a 24-bit TGA"},
    {"md2/m64_v_shotg/skin2.tga", nullptr, "a 32-bit TGA", true},
    {"md2/m64_v_shotg/skin_glow.tga", nullptr, "a 24-bit TGA"},
};

std::string RealFolder() { return std::string(MOK_SHARED_TESTDATA) + "/real"; }

std::string FileNameOf(const char* path) { return std::filesystem::path(path).filename().string(); }

std::string RefusalOf(const char* path, const char* what, const char* list) {
  if (std::string(what) == kNoBmpIndices) return kNoBmpIndices;
  return FileNameOf(path) + " is " + what + "; " + list;
}

// Pillow's decodings of every real image, made once.
const std::string& RealDumps() {
  static const std::string folder = [] {
    std::vector<std::string> files;
    for (const RealImage& image : kRealImages) files.push_back(RealFolder() + "/" + image.path);
    std::string made = ScratchFolder();
    return DumpWithPillow(made, files) ? made : std::string();
  }();
  return folder;
}

// One test per mode over the whole table: the Pillow decodings are made
// once per test process.
class RealImages : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(RealFolder())) GTEST_SKIP() << "no shared test data";
    if (RealDumps().empty()) GTEST_SKIP() << "no /usr/bin/python3 with Pillow";
  }
  static std::string PathOf(const RealImage& real) { return RealFolder() + "/" + real.path; }
};

TEST_F(RealImages, EachSkinEqualsPillowOrIsRefusedByName) {
  for (const RealImage& real : kRealImages) {
    SCOPED_TRACE(real.path);
    Result<SkinSlot> image = LoadImageFile(PathOf(real), ImageMode::TrueColor);
    if (real.refused) {
      ASSERT_FALSE(image.ok());
      EXPECT_EQ(image.error().message, RefusalOf(real.path, real.refused, kSkinList));
      continue;
    }
    ASSERT_TRUE(image.ok()) << image.error().message;
    std::optional<PillowDump> dump = ReadPillowDump(RealDumps(), DumpNameOf(PathOf(real)));
    ASSERT_TRUE(dump.has_value()) << "Pillow could not read it";
    EXPECT_TRUE(TexelsMatch(*image, *dump, real.alpha));
  }
}

TEST_F(RealImages, EachPhongMapKeepsIndicesOrIsRefusedByName) {
  for (const RealImage& real : kRealImages) {
    SCOPED_TRACE(real.path);
    Result<SkinSlot> image = LoadImageFile(PathOf(real), ImageMode::Indexed);
    if (real.notIndexed) {
      ASSERT_FALSE(image.ok());
      EXPECT_EQ(image.error().message, RefusalOf(real.path, real.notIndexed, kPhongList));
      continue;
    }
    ASSERT_TRUE(image.ok()) << image.error().message;
    std::optional<PillowDump> dump = ReadPillowDump(RealDumps(), DumpNameOf(PathOf(real)));
    ASSERT_TRUE(dump.has_value());
    EXPECT_TRUE(IndicesMatch(*image, dump->indices));
  }
}

}  // namespace
}  // namespace mok::test
