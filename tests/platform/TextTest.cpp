// UTF-8 decoding: every invalid sequence becomes U+FFFD, so that two different byte strings never decode to
// the same valid text.
#include <gtest/gtest.h>

#include "platform/Text.h"

namespace mq::text {
namespace {

TEST(Text, InvalidUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"A\xC3\xA9", u"A\u00E9"},                      // valid two-byte character
      {"\xF0\x9F\x98\x80", u"\U0001F600"},            // valid four-byte character
      {"\xF5\x80\x80", u"\uFFFD\uFFFD\uFFFD"},         // F5..FF never lead a character
      {"\xFF\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                   // overlong '/'
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},         // overlong, three bytes
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},         // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xE4\xB8", u"\uFFFD\uFFFD"},                   // cut short
      {"\x80x", u"\uFFFDx"},                           // a lone continuation byte
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected) << testing::PrintToString(c.bytes);
  // An invalid lead byte never makes the text of a valid character.
  EXPECT_FALSE(EqualsNoCase("\xF5\x80\x80", "\xE5\x80\x80"));
}

}  // namespace
}  // namespace mq::text
