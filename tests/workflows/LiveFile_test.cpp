#include "workflows/LiveFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "platform/TextCodec.h"
#include "snapshot/ScanSource.h"
#include "snapshot/SnapshotFile.h"
#include "support/System.h"
#include "support/TempDir.h"
#include "workflows/DiscEntry.h"

namespace movra {
namespace {

std::string Memo(std::optional<std::uint32_t> serial, std::string_view label) {
  return JoinMemoLines(ProposedMemoLines(serial, label));
}

TEST(RecordedSerialTest, ReadsTheSignedOrUnsignedNumberOfItsLine) {
  const std::string line = Utf8ToGbk("光盘卷号：");
  const std::pair<std::string, std::optional<std::uint32_t>> cases[] = {
      {Memo(0x1A2B3C4Du, "X"), 0x1A2B3C4Du},
      {Memo(0xF0000001u, "X"), 0xF0000001u},     // written as a negative number
      {line + "4026531841nbsp", 0xF0000001u},     // the same, unsigned
      {line + " 12 nbsp", 12u},
      {Memo(std::nullopt, "X"), std::nullopt},   // nothing after the colon
      {line + "12abnbsp", std::nullopt},
      {line + "4294967296nbsp", std::nullopt},   // does not fit 32 bits
      {"", std::nullopt},
  };
  for (const auto& [memo, serial] : cases) EXPECT_EQ(RecordedSerial(memo), serial) << GbkToUtf8(memo);
  EXPECT_EQ(RecordedLabel(Memo(1u, Utf8ToGbk("电影_01"))), Utf8ToGbk("电影_01"));
  EXPECT_EQ(SerialText(0x1A2B3C4Du), "1A2B-3C4D");
  EXPECT_EQ(SerialText(0x000000FFu), "0000-00FF");
}

TEST(RecordedPathOnTest, TakesPathsWithoutADriveBelowTheRoot) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"E:\\", "VIDEO_TS/VTS_01.VOB", "E:\\VIDEO_TS\\VTS_01.VOB"},
      {"E:\\", "\\VIDEO_TS\\", "E:\\VIDEO_TS\\"},
      {"Z:\\home\\ann\\", "photos", "Z:\\home\\ann\\photos"},
      {"E:\\", "F:\\other", "F:\\other"},
      {"E:\\", "", "E:\\"},
  };
  for (const auto& [root, text, path] : cases) EXPECT_EQ(RecordedPathOn(root, text), path) << text;
}

// A disc scanned from a folder mounted as E:, its serial and label as the
// volume reader stand-in gives them; the test then moves the medium around.
class LiveFileTest : public ::testing::Test {
 protected:
  LiveFileTest() {
    test::WriteBytes(dir_ / "medium/VIDEO_TS/VTS_01.VOB", "vob");
    test::WriteBytes(dir_ / "medium/readme.txt", "r");
    test::WriteBytes(dir_ / "photos/a.jpg", "a");
    EXPECT_EQ(ScanDisc(disc_, Drives({{'E', dir_ / "medium"}}), "E:\\"), DiscScanResult::kScanned);
  }

  static DriveMap Drives(const std::vector<std::pair<char, std::string>>& mounts) {
    std::vector<DriveEntry> entries;
    for (const auto& [letter, mount] : mounts) entries.emplace_back(letter, mount, "", true);
    return DriveMap(entries);
  }
  // Reads the serial and label of volumes_; other drives cannot be read.
  VolumeReader Reader() const {
    return [this](std::string_view drive, std::string& label, std::uint32_t& serial) {
      const auto volume = volumes_.find(drive.at(0));
      if (volume == volumes_.end()) return false;
      label = volume->second.first;
      serial = volume->second.second;
      return true;
    };
  }
  LiveLocation Locate(const DriveMap& drives, const std::string& memo, const std::string& path = {}) const {
    return LocateInSnapshot(drives, Reader(), "DVD_2006", memo, disc_, path);
  }

  test::TempDir dir_;
  SnapshotIndex disc_;
  std::map<char, std::pair<std::string, std::uint32_t>> volumes_;
};

TEST_F(LiveFileTest, TheRecordedSerialFindsTheMediumUnderAnyLetter) {
  const std::string memo = Memo(0x1A2B3C4Du, "DVD_2006");
  volumes_ = {{'E', {"DVD_2006", 0x11112222u}}, {'G', {"OTHER", 0x1A2B3C4Du}}};
  const DriveMap drives = Drives({{'E', dir_ / "photos"}, {'G', dir_ / "medium"}});
  const LiveLocation found = Locate(drives, memo, "E:\\VIDEO_TS\\VTS_01.VOB");
  ASSERT_TRUE(found.result.ok()) << GbkToUtf8(found.result.message);
  EXPECT_EQ(found.native, dir_ / "medium/VIDEO_TS/VTS_01.VOB");
  EXPECT_EQ(Locate(drives, memo).native, dir_ / "medium");

  // Only a volume of another serial, even with the disc's label and entries: absent.
  volumes_ = {{'E', {"DVD_2006", 0x11112222u}}};
  const LiveLocation absent = Locate(Drives({{'E', dir_ / "medium"}}), memo);
  EXPECT_EQ(absent.result.outcome, Outcome::kNotFound);
  EXPECT_EQ(GbkToUtf8(absent.result.message), "请插入光盘“DVD_2006”（卷号 1A2B-3C4D）后再试。");
}

TEST_F(LiveFileTest, WithoutASerialTheRootEntriesDecideAndTheLabelIsPreferred) {
  const std::string memo = Memo(std::nullopt, "DVD_2006");
  test::WriteBytes(dir_ / "copy/VIDEO_TS/x", "");
  test::WriteBytes(dir_ / "copy/readme.txt", "");
  volumes_ = {{'F', {"COPY", 1u}}, {'G', {"dvd_2006", 2u}}};
  const DriveMap drives = Drives({{'E', dir_ / "photos"}, {'F', dir_ / "copy"}, {'G', dir_ / "medium"}});
  EXPECT_EQ(Locate(drives, memo).native, dir_ / "medium");
  EXPECT_EQ(Locate(Drives({{'F', dir_ / "copy"}, {'H', dir_ / "photos"}}), memo).native, dir_ / "copy");
  const LiveLocation absent = Locate(Drives({{'E', dir_ / "photos"}}), memo);
  EXPECT_EQ(GbkToUtf8(absent.result.message), "请插入光盘“DVD_2006”后再试。");
}

TEST_F(LiveFileTest, AFolderDiscIsPresentWhileItsFolderExists) {
  SnapshotIndex folder_disc;
  const DriveMap drives = DetectDrives();  // the test folder as the machine's drives hold it
  ASSERT_EQ(ScanDisc(folder_disc, drives, dir_ / "photos"), DiscScanResult::kScanned);
  const std::string memo = Memo(std::nullopt, "photos");
  auto locate = [&](const std::string& path) {
    return LocateInSnapshot(drives, Reader(), "photos", memo, folder_disc, RecordedPathOn(folder_disc.RootFolder(), path));
  };
  EXPECT_EQ(locate("a.jpg").native, dir_ / "photos/a.jpg");
  ASSERT_EQ(std::rename((dir_ / "photos").c_str(), (dir_ / "moved").c_str()), 0);
  const LiveLocation gone = locate("a.jpg");
  EXPECT_EQ(gone.result.outcome, Outcome::kNotFound);
  EXPECT_EQ(gone.result.message, Utf8ToGbk("光盘“photos”的文件夹“") + folder_disc.RootFolder() +
                                     Utf8ToGbk("”不存在，请确认它没有被移动或删除后再试。"));
  ASSERT_EQ(std::rename((dir_ / "moved").c_str(), (dir_ / "photos").c_str()), 0);
  EXPECT_EQ(locate("").native, dir_ / "photos");
}

TEST_F(LiveFileTest, PathsOffTheDiscOrGoneFromItAreNotOpened) {
  volumes_ = {{'E', {"DVD_2006", 7u}}};
  const DriveMap drives = Drives({{'E', dir_ / "medium"}});
  const std::string memo = Memo(7u, "DVD_2006");
  const std::pair<std::string, std::string> cases[] = {
      {"F:\\readme.txt", "光盘“DVD_2006”上没有“F:\\readme.txt”。"},
      {"E:\\..\\photos", "光盘“DVD_2006”上没有“E:\\..\\photos”。"},
      {"E:\\gone.txt", "光盘“DVD_2006”上已经没有“E:\\gone.txt”。"},
  };
  for (const auto& [path, message] : cases) {
    const LiveLocation found = Locate(drives, memo, path);
    EXPECT_EQ(found.result.outcome, Outcome::kNotFound) << path;
    EXPECT_EQ(GbkToUtf8(found.result.message), message);
    EXPECT_TRUE(found.native.empty());
  }
}

TEST_F(LiveFileTest, ACataloguedDiscIsFoundByNameWithItsMemoAndSnapshot) {
  test::WriteBytes(dir_ / "Movra.xml", "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST><T_A><D_DVD_2006>"
                                       "<Title>DVD_2006</Title><Memo>" + Memo(9u, "DVD_2006") +
                                       "</Memo></D_DVD_2006></T_A></CDLIST></root>");
  std::filesystem::create_directory(dir_ / "CDROM");
  ASSERT_TRUE(WriteSnapshot(disc_, dir_ / "CDROM/DVD_2006.cdg"));
  CatalogueDocument doc;
  ASSERT_TRUE(doc.Open(dir_ / "Movra.xml"));
  Workspace work{doc, std::filesystem::path(dir_.path()) / "CDROM"};
  volumes_ = {{'K', {"", 9u}}};
  const DriveMap drives = Drives({{'K', dir_ / "medium"}});
  EXPECT_EQ(LocateOnDisc(work, drives, Reader(), "DVD_2006", "VIDEO_TS/VTS_01.VOB").native,
            dir_ / "medium/VIDEO_TS/VTS_01.VOB");
  EXPECT_EQ(LocateOnDisc(work, drives, Reader(), "NONE", "").result.outcome, Outcome::kNotFound);
  std::filesystem::remove(dir_ / "CDROM/DVD_2006.cdg");
  EXPECT_EQ(LocateOnDisc(work, drives, Reader(), "DVD_2006", "").result.outcome, Outcome::kFailed);
}

}  // namespace
}  // namespace movra
