// The text watermark: its logical font, the origin that centres the rotated text, and the square drawn with
// the fake painter, centred and brightened.
#include <gtest/gtest.h>

#include "platform/fake/FakeFonts.h"
#include "watermark/TextWatermark.h"
#include "watermark/WatermarkPicture.h"

namespace mq::watermark {
namespace {

TEST(WatermarkFont, HeightFromPointsAndDpiWeightAndItalicFromTheStyle) {
  struct Case {
    int points, style, angle, dpi;
    int height, weight;
    bool italic;
    int escapement;
  };
  const Case cases[] = {
      {50, 0, 45, 96, -66, 400, false, 450},  // 50 * 96 / 72 = 66.67
      {50, 1, 0, 96, -66, 400, true, 0},
      {8, 2, 360, 120, -13, 700, false, 3600},  // 8 * 120 / 72 = 13.3
      {72, 3, 90, 96, -96, 700, true, 900},
  };
  for (const Case& c : cases) {
    const platform::ui::LogicalFont font = WatermarkFont("Arial", c.points, c.style, c.angle, c.dpi);
    EXPECT_EQ(font.face, "Arial");
    EXPECT_EQ(font.height, c.height) << c.points;
    EXPECT_EQ(font.weight, c.weight) << c.style;
    EXPECT_EQ(font.italic, c.italic) << c.style;
    EXPECT_EQ(font.escapement, c.escapement) << c.angle;
    EXPECT_TRUE(font.clipRotated);
  }
}

TEST(CentredOrigin, PutsTheRotatedMiddleOnTheCentre) {
  struct Case {
    int w, h, angle, x, y;
  };
  const Case cases[] = {
      {101, 41, 0, 100, 170},  // 150 - 50, 150 + 20: halves in whole pixels
      // cos 90 and sin 180 are not quite 0 in doubles: -19.999... truncates to -19, as on Windows.
      {100, 40, 90, 169, 200},
      {100, 40, 180, 200, 131},
      {100, 40, 45, 129, 199},  // 150 - trunc(21.2), 150 + trunc(49.5)
  };
  for (const Case& c : cases) {
    const Origin o = CentredOrigin(c.w, c.h, c.angle);
    EXPECT_EQ(o.x, c.x) << c.angle;
    EXPECT_EQ(o.y, c.y) << c.angle;
  }
}

TEST(RenderText, DrawsTheTextCentredInTheSquareAndBrightensIt) {
  platform::CallJournal journal;
  platform::ui::FakeFonts fonts(journal);
  TextWatermark mark{u"DRAFT", "Arial", 36, 2, 45, 0};
  const std::optional<platform::ui::Picture> square = RenderText(fonts, mark);
  ASSERT_TRUE(square);
  EXPECT_EQ(journal.CallsTo("CreateFontIndirectW")[0],
            "CreateFontIndirectW face=Arial height=-48 weight=700 italic=0 escapement=450 clip=angles");
  // 5 characters of 28 by 48 at 45 degrees: the block's middle is the square's.
  double sx = 0, sy = 0;
  int dark = 0;
  for (int y = 0; y < kTextSquare; ++y)
    for (int x = 0; x < kTextSquare; ++x)
      if (square->At(x, y) != 0xFFFFFF) sx += x, sy += y, ++dark;
  ASSERT_GT(dark, 1000);
  EXPECT_NEAR(sx / dark, 150, 2);
  EXPECT_NEAR(sy / dark, 150, 2);

  mark.brightness = 100;
  const std::optional<platform::ui::Picture> light = RenderText(fonts, mark);
  ASSERT_TRUE(light);
  EXPECT_EQ(light->At(150, 150), 0x646464u);
  EXPECT_EQ(light->At(0, 0), 0xFFFFFFu);

  const std::vector<uint8_t> file = EncodeBitmap24(*light);
  ASSERT_EQ(file.size(), kTextFileSize);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 30),
            (std::vector<uint8_t>{'B', 'M', 0xE6, 0x1E, 0x04, 0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
                                  0,   0,   0,    0x2C, 0x01, 0, 0, 0x2C, 0x01, 0, 0,  1, 0, 24, 0}));
  EXPECT_EQ(file[30], 0) << "no compression";
}

TEST(RenderText, APainterFailureGivesNoPicture) {
  platform::CallJournal journal;
  platform::ui::FakeFonts fonts(journal);
  for (const char* call : {"GetTextExtentPoint32W", "TextOutW"}) {
    journal.ClearFailures();
    journal.FailCall(call, 8);
    EXPECT_FALSE(RenderText(fonts, {u"COPY", "Arial", 20, 0, 0, 0})) << call;
  }
}

}  // namespace
}  // namespace mq::watermark
