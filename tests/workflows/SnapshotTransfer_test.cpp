#include <gtest/gtest.h>

#include "workflows/SnapshotTransfer.h"
#include "support/TempDir.h"

namespace movra {
namespace {

TEST(SnapshotTransfer, TheStemEndsBeforeTheFirstOccurrenceOfTheExtension) {
  EXPECT_EQ(FileStemOf("/home/ann/DVD_01.CDG"), "DVD_01");
  EXPECT_EQ(FileStemOf("/x/A.CDG.CDG"), "A");
  EXPECT_EQ(FileStemOf("/x/A.cdg.CDG"), "A.cdg");
  EXPECT_EQ(FileStemOf("/x.y/README"), "README");
  EXPECT_EQ(FileStemOf("/x/.cdg"), "");
  EXPECT_EQ(FileStemOf("\xB9\xE2\xC5\xCC.cdg"), "\xB9\xE2\xC5\xCC");  // 光盘
}

TEST(SnapshotTransfer, WildcardPatternsMatchEitherCaseWhileDescriptionsStay) {
  EXPECT_EQ(CaseBlindWildcard("CDG Files(*.CDG)|*.CDG"), "CDG Files(*.CDG)|*.[cC][dD][gG]");
  EXPECT_EQ(CaseBlindWildcard("A|*.x;*.Y2|B|*"), "A|*.[xX];*.[yY]2|B|*");
  // A letter that is the second byte of a double-byte character stays.
  EXPECT_EQ(CaseBlindWildcard("\xB9\xE2|*.\x81" "A"), "\xB9\xE2|*.\x81" "A");
}

}  // namespace
}  // namespace movra
