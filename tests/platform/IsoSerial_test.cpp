#include "platform/IsoSerial.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Volume.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

bool HaveTools() { return test::ToolPath("xorriso") && test::ToolPath("python3"); }

// The lane sum over the sector of the image computed apart from the code
// under test: by python over the raw bytes of the given sector.
std::uint32_t LaneSumOfSector(const std::string& image, int sector) {
  const test::TempDir out;
  const std::string script = "import sys; d=open(sys.argv[1],'rb').read()[" + std::to_string(sector * 2048) + ":" +
                             std::to_string(sector * 2048 + 2048) +
                             "]; l=[sum(d[k::4])%256 for k in range(4)]; "
                             "print((l[0]<<24)|(l[1]<<16)|(l[2]<<8)|l[3])";
  EXPECT_EQ(test::RunChild({{*test::ToolPath("python3"), "-c", script, test::ToolArgument(image)}, out / "sum", {}}),
            0);
  return static_cast<std::uint32_t>(std::strtoul(test::ReadBytes(out / "sum").c_str(), nullptr, 10));
}

// The type byte of a sector of the image (1 primary, 2 supplementary).
int TypeOfSector(const std::string& image, int sector) {
  const std::string bytes = test::ReadBytes(image);
  return static_cast<unsigned char>(bytes.at(static_cast<std::size_t>(sector) * 2048));
}

TEST(IsoSerialTest, LanesOverTheBestDescriptorOfImagesAndDrives) {
  if (!HaveTools()) GTEST_SKIP() << "xorriso or python3 is missing";
  test::TempDir dir;
  test::WriteBytes(dir / "content/A.TXT", "a");
  auto make = [&](const std::string& name, const char* joliet) {
    const std::string image = dir / name;
    std::vector<std::string> arguments = {"-as", "mkisofs", "-V", "DISC", "-o", test::ToolArgument(image)};
    if (joliet) arguments.push_back(joliet);
    arguments.push_back(test::ToolArgument(dir / "content"));
    EXPECT_EQ(test::RunTool("xorriso", arguments), 0);
    return image;
  };
  const std::string plain = make("plain.iso", nullptr);
  const std::string joliet = make("joliet.iso", "-J");
  // Without Joliet the primary (sector 16) counts; with it, the supplementary one (sector 17).
  ASSERT_EQ(TypeOfSector(joliet, 17), 2);
  EXPECT_EQ(ReadIsoSerial(plain), LaneSumOfSector(plain, 16));
  EXPECT_EQ(ReadIsoSerial(joliet), LaneSumOfSector(joliet, 17));
  EXPECT_NE(LaneSumOfSector(joliet, 16), LaneSumOfSector(joliet, 17));

  // The drive of a data disc reports the same number.
  const DriveMap drives({{'D', "", joliet, true}});
  std::string label;
  std::uint32_t serial = 0;
  ASSERT_TRUE(ReadVolumeInfo(drives, "D:", label, serial));
  EXPECT_EQ(serial, LaneSumOfSector(joliet, 17));

  // Not ISO 9660, or not there at all.
  test::WriteBytes(dir / "blank.img", std::string(40 * 2048, '\0'));
  EXPECT_FALSE(ReadIsoSerial(dir / "blank.img"));
  EXPECT_FALSE(ReadIsoSerial(dir / "missing.iso"));
}

TEST(IsoSerialTest, EachLaneWrapsOnItsOwn) {
  std::array<unsigned char, kIsoSectorSize> sector{};
  sector.fill(0xFF);  // 512 bytes of 0xFF per lane: 512 * 255 = 0 mod 256
  sector[0] = 0x01;   // lane 0 gets 1 - 255 more
  sector[5] = 0x00;   // lane 1 loses 255
  EXPECT_EQ(IsoSerialOfDescriptor(sector), 0x0201'0000u);
}

}  // namespace
}  // namespace movra
