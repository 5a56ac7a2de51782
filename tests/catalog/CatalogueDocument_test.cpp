// The catalogue file on disk: first start, round trips, encodings, unreadable
// files and failed writes.
#include "catalog/CatalogueDocument.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::FailingFileSystem;
using test::ReadBytes;
using test::ScopedFileSystem;
using test::TempDir;
using test::WriteBytes;

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
const std::string kMovie = "\xB5\xE7\xD3\xB0";                       // 电影
const std::string kAction = "\xB6\xAF\xD7\xF7";                      // 动作
const std::string kMyDisc = "\xCE\xD2\xB5\xC4\xB9\xE2\xC5\xCC_000";  // 我的光盘_000
const std::string kMovieUtf8 = "\xE7\x94\xB5\xE5\xBD\xB1";           // 电影 in UTF-8

class CatalogueFile : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = dir_ / "Movra.xml";
  CatalogueDocument doc_;
};

TEST_F(CatalogueFile, FirstStartHoldsAnEmptyCatalogueAndWritesOnlyWithTheFirstChange) {
  ASSERT_TRUE(doc_.Open(path_));
  EXPECT_EQ(CatalogueDocument::ElementName(doc_.Root()), "root");
  ASSERT_TRUE(doc_.CdList());
  EXPECT_TRUE(CatalogueDocument::ChildElements(doc_.CdList()).empty());
  EXPECT_FALSE(doc_.IsModified());
  // Looking a category up creates nothing and writes nothing.
  EXPECT_FALSE(doc_.ResolvePath("A\\", false));
  EXPECT_EQ(doc_.Save(), SaveResult::kNothingToSave);
  EXPECT_FALSE(test::PathExists(path_));

  Element category = doc_.GetOrAddChild(doc_.CdList(), "T_" + kMovie);
  doc_.SetElementText(category, " ");
  EXPECT_TRUE(doc_.IsModified());
  EXPECT_EQ(doc_.Save(), SaveResult::kSaved);
  EXPECT_FALSE(doc_.IsModified());
  EXPECT_EQ(ReadBytes(path_), kDecl + "<root><CDLIST><T_" + kMovie + "> </T_" + kMovie + "></CDLIST></root>");
  // Nothing changed since: nothing to write.
  EXPECT_EQ(doc_.Save(), SaveResult::kNothingToSave);
}

TEST_F(CatalogueFile, RoundTripKeepsBytesOrderAndCleanedTexts) {
  ASSERT_TRUE(doc_.Open(path_));
  Element movie = doc_.GetOrAddChild(doc_.CdList(), "T_" + kMovie);
  doc_.SetElementText(movie, " ");
  Element action = doc_.GetOrAddChild(movie, "T_" + kAction);
  doc_.SetElementText(action, " ");
  Element disc = doc_.GetOrAddChild(action, "D_" + kMyDisc);
  doc_.SetChildText(disc, "Title", kMyDisc);
  doc_.SetChildText(disc, "Time", "2006/3/3 9:07:02");
  // Control bytes become spaces; markup characters and GBK bytes survive.
  doc_.SetChildText(disc, "Memo", "a\tb\r\n<&>\"" + kMovie + "nbsp");
  Element direct = doc_.GetOrAddChild(movie, "D_Z");
  doc_.SetChildText(direct, "Title", "Z");
  doc_.GetOrAddChild(doc_.CdList(), "T_B");
  ASSERT_EQ(doc_.Save(), SaveResult::kSaved);

  const std::string expected = kDecl + "<root><CDLIST><T_" + kMovie + "> <T_" + kAction + "> <D_" + kMyDisc +
                               "><Title>" + kMyDisc + "</Title><Time>2006/3/3 9:07:02</Time><Memo>a b  &lt;&amp;&gt;\"" +
                               kMovie + "nbsp</Memo></D_" + kMyDisc + "></T_" + kAction + "><D_Z><Title>Z</Title></D_Z></T_" +
                               kMovie + "><T_B/></CDLIST></root>";
  EXPECT_EQ(ReadBytes(path_), expected);

  CatalogueDocument again;
  ASSERT_TRUE(again.Open(path_));
  std::vector<Element> mains = CatalogueDocument::ChildElements(again.CdList());
  ASSERT_EQ(mains.size(), 2u);
  EXPECT_EQ(CatalogueDocument::ElementName(mains[0]), "T_" + kMovie);
  EXPECT_EQ(CatalogueDocument::ElementName(mains[1]), "T_B");
  std::vector<Element> inside = CatalogueDocument::ChildElements(mains[0]);
  ASSERT_EQ(inside.size(), 2u);
  EXPECT_EQ(CatalogueDocument::ElementName(inside[1]), "D_Z");
  Element read_disc = CatalogueDocument::FindChild(inside[0], "D_" + kMyDisc);
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(read_disc, "Memo")),
            "a b  <&>\"" + kMovie + "nbsp");
  // The category's single space is read back and written again unchanged.
  EXPECT_EQ(CatalogueDocument::ElementText(mains[0]), " ");
  EXPECT_EQ(again.Serialize(), expected);
}

TEST_F(CatalogueFile, SetChildTextCreatesReplacesAndRemoves) {
  ASSERT_TRUE(doc_.Open(path_));
  Element disc = doc_.GetOrAddChild(doc_.CdList(), "D_X");
  doc_.SetChildText(disc, "Memo", "");  // nothing to remove, nothing created
  EXPECT_FALSE(CatalogueDocument::FindChild(disc, "Memo"));
  doc_.SetChildText(disc, "Memo", "old");
  doc_.SetChildText(disc, "Time", "t");
  doc_.SetChildText(disc, "Memo", "new");
  EXPECT_EQ(doc_.Serialize(), kDecl + "<root><CDLIST><D_X><Memo>new</Memo><Time>t</Time></D_X></CDLIST></root>");
  // A value that is only control bytes is cleaned to spaces, so it is not empty.
  doc_.SetChildText(disc, "Time", "\t");
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Time")), " ");
  doc_.SetChildText(disc, "Memo", "");
  EXPECT_EQ(doc_.Serialize(), kDecl + "<root><CDLIST><D_X><Time> </Time></D_X></CDLIST></root>");
  // A zero byte ends a value.
  doc_.SetChildText(disc, "Time", std::string("ab\0cd", 5));
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Time")), "ab");
  doc_.DeleteChild(disc, "Time");
  EXPECT_TRUE(CatalogueDocument::ChildElements(disc).empty());
}

TEST_F(CatalogueFile, SettingTheSameTextIsNoChange) {
  WriteBytes(path_, kDecl + "<root><CDLIST><D_X><Title>X</Title></D_X></CDLIST></root>");
  ASSERT_TRUE(doc_.Open(path_));
  Element disc = doc_.FindDiscElement("D_X");
  doc_.SetChildText(disc, "Title", "X");
  doc_.SetChildText(disc, "Memo", "");
  EXPECT_EQ(doc_.GetOrAddChild(disc, "Title"), CatalogueDocument::FindChild(disc, "Title"));
  EXPECT_FALSE(doc_.IsModified());
}

TEST_F(CatalogueFile, UnreadableFilesGiveNoDocumentAndAreNeverWritten) {
  const std::string broken = kDecl + "<root><CDLIST><T_A></CDLIST>";
  const std::string bad_utf8 = "<root><CDLIST><T_" + kMovie + "/></CDLIST></root>";  // GBK bytes, no declaration
  const std::string unknown = "<?xml version=\"1.0\" encoding=\"no-such-charset\"?><root/>";
  for (const std::string& bytes : {broken, std::string(), bad_utf8, unknown}) {
    SCOPED_TRACE(bytes);
    WriteBytes(path_, bytes);
    EXPECT_FALSE(doc_.Open(path_));
    EXPECT_FALSE(doc_.Root());
    EXPECT_FALSE(doc_.CdList());
    EXPECT_FALSE(doc_.ResolvePath("A\\", false));
    EXPECT_FALSE(doc_.ResolvePath("X", true));
    EXPECT_FALSE(doc_.GetOrAddChild(doc_.Root(), "CDLIST"));
    EXPECT_FALSE(doc_.RemoveByPath("T_A\\"));
    EXPECT_FALSE(doc_.RenameCategory("A\\", "B"));
    doc_.MarkModified();
    EXPECT_EQ(doc_.Save(), SaveResult::kNothingToSave);
    EXPECT_EQ(doc_.Serialize(), "");
    EXPECT_EQ(ReadBytes(path_), bytes);
  }
}

TEST_F(CatalogueFile, SomethingThatIsNotAFileIsNotReplaced) {
  EXPECT_FALSE(doc_.Open(""));
  EXPECT_FALSE(doc_.Open(dir_.path()));
  doc_.MarkModified();
  EXPECT_EQ(doc_.Save(), SaveResult::kNothingToSave);
  EXPECT_TRUE(std::filesystem::is_directory(dir_.path()));

  FailingFileSystem fs;
  ScopedFileSystem scoped(&fs);
  WriteBytes(path_, kDecl + "<root/>");
  fs.fail_read = true;
  EXPECT_FALSE(doc_.Open(path_));
}

TEST_F(CatalogueFile, ReadsUtf8AndGbkFlavoursAndWritesGb2312) {
  const std::string body = "<root><CDLIST><T_" + kMovieUtf8 + "> </T_" + kMovieUtf8 + "></CDLIST></root>";
  const std::string gbk_body = "<root><CDLIST><T_" + kMovie + "> </T_" + kMovie + "></CDLIST></root>";
  const std::string inputs[] = {
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + body,
      body,  // no declaration: UTF-8
      "\xEF\xBB\xBF" + body,
      "<?xml version='1.0' encoding = 'GBK' ?>\r\n" + gbk_body,
      kDecl + gbk_body,
  };
  for (const std::string& bytes : inputs) {
    SCOPED_TRACE(bytes);
    WriteBytes(path_, bytes);
    ASSERT_TRUE(doc_.Open(path_));
    EXPECT_TRUE(CatalogueDocument::FindChild(doc_.CdList(), "T_" + kMovie));
    EXPECT_EQ(doc_.Serialize(), kDecl + gbk_body);
  }
}

TEST_F(CatalogueFile, ReadsAGb18030DeclarationAndWritesGb2312) {
  MOVRA_SKIP_WITHOUT(kGb18030);
  const std::string gbk_body = "<root><CDLIST><T_" + kMovie + "> </T_" + kMovie + "></CDLIST></root>";
  WriteBytes(path_, "<?xml version=\"1.0\" encoding=\"GB18030\"?>" + gbk_body);
  ASSERT_TRUE(doc_.Open(path_));
  EXPECT_EQ(doc_.Serialize(), kDecl + gbk_body);
}

TEST_F(CatalogueFile, ForeignWhitespaceAndCommentsAreAcceptedAndKept) {
  const std::string bytes = kDecl + "\r\n<root>\r\n  <!-- mine -->\r\n  <CDLIST>\r\n    <T_A> </T_A>\r\n  </CDLIST>\r\n</root>";
  WriteBytes(path_, bytes);
  ASSERT_TRUE(doc_.Open(path_));
  std::vector<Element> mains = CatalogueDocument::ChildElements(doc_.CdList());
  ASSERT_EQ(mains.size(), 1u);
  EXPECT_EQ(CatalogueDocument::ElementName(mains[0]), "T_A");
  EXPECT_TRUE(doc_.ResolvePath("A\\", false));
  // The line ends inside the document are read as LF; nothing else changes.
  EXPECT_EQ(doc_.Serialize(), kDecl + "<root>\n  <!-- mine -->\n  <CDLIST>\n    <T_A> </T_A>\n  </CDLIST>\n</root>");
}

TEST_F(CatalogueFile, CharactersGbkCannotHoldSurviveASave) {
  // An emoji in a memo of a UTF-8 file becomes a character reference in the
  // GB2312 file instead of a question mark.
  WriteBytes(path_, "<root><CDLIST><D_X><Memo>a\xF0\x9F\x98\x80" "b</Memo></D_X></CDLIST></root>");
  ASSERT_TRUE(doc_.Open(path_));
  Element disc = doc_.FindDiscElement("D_X");
  doc_.SetChildText(disc, "Title", "X");
  ASSERT_EQ(doc_.Save(), SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(path_),
            kDecl + "<root><CDLIST><D_X><Memo>a&#128512;b</Memo><Title>X</Title></D_X></CDLIST></root>");
  CatalogueDocument again;
  ASSERT_TRUE(again.Open(path_));
  Element memo = CatalogueDocument::FindChild(again.FindDiscElement("D_X"), "Memo");
  EXPECT_STREQ(memo.child_value(), "a\xF0\x9F\x98\x80" "b");

  // Such a character in an element name cannot be referenced: the file is
  // then written as UTF-8 rather than broken.
  const std::string odd_name = "<root><CDLIST><T_\xF0\x9F\x98\x80/></CDLIST></root>";
  WriteBytes(path_, odd_name);
  ASSERT_TRUE(doc_.Open(path_));
  doc_.GetOrAddChild(doc_.CdList(), "T_B");
  ASSERT_EQ(doc_.Save(), SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(path_),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><root><CDLIST><T_\xF0\x9F\x98\x80/><T_B/></CDLIST></root>");
  ASSERT_TRUE(again.Open(path_));
  EXPECT_EQ(CatalogueDocument::ChildElements(again.CdList()).size(), 2u);
}

TEST_F(CatalogueFile, NamesTheFileCouldNotCarryAreRefused) {
  ASSERT_TRUE(doc_.Open(path_));
  for (std::string name : {"T_a b", "T_a\\b", "1abc", "", "T_\xA1\xA1" /* full-width space */}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(doc_.GetOrAddChild(doc_.CdList(), name));
    EXPECT_FALSE(doc_.RenameCategory("A\\", name));
  }
  EXPECT_FALSE(doc_.IsModified());
  EXPECT_TRUE(doc_.GetOrAddChild(doc_.CdList(), "T_" + kMovie + "_1.2-x"));
}

TEST_F(CatalogueFile, FailedWriteKeepsTheFileAndTheChange) {
  WriteBytes(path_, kDecl + "<root><CDLIST/></root>");
  FailingFileSystem fs;
  ScopedFileSystem scoped(&fs);
  ASSERT_TRUE(doc_.Open(path_));
  doc_.GetOrAddChild(doc_.CdList(), "T_A");
  fs.fail_write = true;
  EXPECT_EQ(doc_.Save(), SaveResult::kFailed);
  EXPECT_TRUE(doc_.IsModified());
  EXPECT_EQ(ReadBytes(path_), kDecl + "<root><CDLIST/></root>");
  fs.fail_write = false;
  EXPECT_EQ(doc_.Save(), SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(path_), kDecl + "<root><CDLIST><T_A/></CDLIST></root>");
}

TEST_F(CatalogueFile, OpenAgainDropsUnsavedChanges) {
  WriteBytes(path_, kDecl + "<root><CDLIST><T_A/></CDLIST></root>");
  ASSERT_TRUE(doc_.Open(path_));
  doc_.GetOrAddChild(doc_.CdList(), "T_B");
  ASSERT_TRUE(doc_.Open(path_));
  EXPECT_FALSE(doc_.IsModified());
  EXPECT_EQ(CatalogueDocument::ChildElements(doc_.CdList()).size(), 1u);
  EXPECT_EQ(doc_.FileName(), path_);
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST_F(CatalogueFile, EveryCodePage936CodeAndOddReferencesSurviveOpenSaveReopen) {
  // Codes a plain GBK table lacks: A8BF, A989-A995, the user-defined areas
  // (AAA1, F8A1, A140) and the euro sign 0x80, in a name and in a memo.
  const std::string odd = "\xA8\xBF\xA9\x89\xA9\x95\xAA\xA1\xF8\xA1\xA1\x40\x80";
  const std::string file = kDecl + "<root><CDLIST><T_" + odd + "><Memo>" + odd + "</Memo></T_" + odd +
                           "><T_A a=\"&#xD800;\" b=\"&#x110000;\">x&#13;y</T_A></CDLIST></root>";
  WriteBytes(path_, file);
  ASSERT_TRUE(doc_.Open(path_));
  EXPECT_EQ(CatalogueDocument::ElementName(CatalogueDocument::ChildElements(doc_.CdList())[0]), "T_" + odd);
  doc_.MarkModified();
  ASSERT_EQ(doc_.Save(), SaveResult::kSaved);
  const std::string saved = ReadBytes(path_);
  EXPECT_NE(saved.find("<T_" + odd + "><Memo>" + odd + "</Memo>"), std::string::npos) << saved;
  // The CR stays a CR; references to no character do not make the file unreadable.
  EXPECT_NE(saved.find("x&#13;y"), std::string::npos) << saved;
  CatalogueDocument again;
  ASSERT_TRUE(again.Open(path_));
  EXPECT_STREQ(CatalogueDocument::FindChild(again.CdList(), "T_A").child_value(), "x\ry");
}

TEST_F(CatalogueFile, ASaveOfAReopenedSaveIsTheSame) {
  // Texts that read as nothing: a reference to U+0000 alone, or beside text.
  for (const std::string body : {"<A>&#0;</A>", "<A>&#0;<B/>&#0;</A>", "<A>x&#0;</A>", "<A><![CDATA[]]></A>"}) {
    WriteBytes(path_, kDecl + "<root><CDLIST>" + body + "</CDLIST></root>");
    ASSERT_TRUE(doc_.Open(path_)) << body;
    doc_.MarkModified();
    ASSERT_EQ(doc_.Save(), SaveResult::kSaved);
    const std::string first = ReadBytes(path_);
    CatalogueDocument again;
    ASSERT_TRUE(again.Open(path_));
    EXPECT_EQ(again.Serialize(), first) << body;
  }
}

}  // namespace
}  // namespace movra
