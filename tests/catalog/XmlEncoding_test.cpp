// Encoding of the catalogue file's bytes, and the XML name test.
#include "catalog/XmlEncoding.h"

#include <gtest/gtest.h>

#include "support/System.h"

namespace movra {
namespace {

TEST(XmlEncoding, FindsTheDeclaredEncoding) {
  EXPECT_EQ(DeclaredEncoding("<?xml version=\"1.0\" encoding=\"gb2312\"?><root/>"), "gb2312");
  EXPECT_EQ(DeclaredEncoding("\xEF\xBB\xBF<?xml version='1.0' encoding = 'UTF-8' standalone='yes'?>"), "UTF-8");
  EXPECT_EQ(DeclaredEncoding("<?xml version=\"1.0\"?><root encoding=\"gbk\"/>"), "");
  EXPECT_EQ(DeclaredEncoding("<?xml-stylesheet encoding=\"gbk\"?><root/>"), "");
  EXPECT_EQ(DeclaredEncoding(" <?xml version=\"1.0\" encoding=\"gbk\"?>"), "");  // not at the start
  EXPECT_EQ(DeclaredEncoding("<?xml version=\"1.0\" encoding=\"gbk"), "");
  EXPECT_EQ(DeclaredEncoding(""), "");
}

TEST(XmlEncoding, DecodesStrictlyByTheDeclaration) {
  const std::string decl = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
  // GBK beyond GB2312 (0x81 0x40) is accepted under the gb2312 label.
  EXPECT_EQ(XmlBytesToUtf8(decl + "<a>\xB9\xE2\x81\x40</a>"), decl + "<a>\xE5\x85\x89\xE4\xB8\x82</a>");
  // A lead byte without its trail byte makes the file unreadable rather than altered.
  EXPECT_EQ(XmlBytesToUtf8(decl + "<a>\xB9</a>"), std::nullopt);
  // UTF-16 with a byte order mark.
  EXPECT_EQ(XmlBytesToUtf8(std::string("\xFF\xFE<\0a\0/\0>\0", 10)), "<a/>");
  EXPECT_EQ(XmlBytesToUtf8("<a>\xC3\x28</a>"), std::nullopt);  // invalid UTF-8
}

TEST(XmlEncoding, DecodesGb18030FourByteSequences) {
  MOVRA_SKIP_WITHOUT(kGb18030);
  // U+1F600, which GBK cannot hold.
  EXPECT_EQ(XmlBytesToUtf8("<?xml version=\"1.0\" encoding=\"gb18030\"?><a>\x94\x39\xFC\x36</a>"),
            "<?xml version=\"1.0\" encoding=\"gb18030\"?><a>\xF0\x9F\x98\x80</a>");
}

TEST(XmlEncoding, ReferencesWhatGbkCannotHoldOnlyInText) {
  EXPECT_EQ(Utf8XmlToGbk("<a x=\"1\">\xE5\x85\x89</a>"), "<a x=\"1\">\xB9\xE2</a>");
  EXPECT_EQ(Utf8XmlToGbk("<a>\xF0\x9F\x98\x80\xE2\x82\xAC\xF0\x9F\x98\x80</a><b>\xF0\x9F\x98\x80</b>"),
            "<a>&#128512;\x80&#128512;</a><b>&#128512;</b>");
  EXPECT_EQ(Utf8XmlToGbk("<a>x</a><T_\xF0\x9F\x98\x80/>"), std::nullopt);
  EXPECT_EQ(Utf8XmlToGbk("<a t=\"\xF0\x9F\x98\x80\"/>"), std::nullopt);
  // In a comment, a CDATA section or a processing instruction a reference
  // would be read back literally.
  const std::string emoji = "\xF0\x9F\x98\x80";
  EXPECT_EQ(Utf8XmlToGbk("<a><!-- > " + emoji + " --></a>"), std::nullopt);
  EXPECT_EQ(Utf8XmlToGbk("<a><![CDATA[<b> " + emoji + "]]></a>"), std::nullopt);
  EXPECT_EQ(Utf8XmlToGbk("<?pi > " + emoji + "?><a/>"), std::nullopt);
  EXPECT_EQ(Utf8XmlToGbk("<a><!-- x --><![CDATA[y]]>" + emoji + "</a>"), "<a><!-- x --><![CDATA[y]]>&#128512;</a>");
  EXPECT_EQ(Utf8XmlToGbk(""), "");
}

TEST(XmlEncoding, RecognisesXmlNames) {
  EXPECT_TRUE(IsXmlName("T_\xE7\x94\xB5\xE5\xBD\xB1-1.2"));  // T_电影-1.2
  EXPECT_TRUE(IsXmlName("_x"));
  EXPECT_FALSE(IsXmlName(""));
  EXPECT_FALSE(IsXmlName("1x"));
  EXPECT_FALSE(IsXmlName("-x"));
  EXPECT_FALSE(IsXmlName("a b"));
  EXPECT_FALSE(IsXmlName("a?"));
  EXPECT_FALSE(IsXmlName("T_\xE3\x80\x80"));  // ideographic space
  EXPECT_FALSE(IsXmlName("T_\xC3"));          // cut UTF-8
  EXPECT_FALSE(IsXmlName(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace movra
