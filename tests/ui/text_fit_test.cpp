// The arithmetic that fits captions and picture texts into their room, with a made-up font
// whose sizes are known exactly, so each expectation is a number worked out by hand rather
// than one the fitting code computes.
#include "ui/text_fit.h"

#include <gtest/gtest.h>

#include "ui/picture_painter.h"

namespace qvx::ui {
namespace {

// A font ten characters of text wide at half a pixel per character and pixel of size, with
// a line a quarter taller than its size: at 12 px the text is 60 px wide, its line 15 px.
struct FakeFont {
  int measured = 0;
  TextMeasure measure() {
    return [this](int px) {
      ++measured;
      return QSizeF(10 * 0.5 * px, 1.25 * px);
    };
  }
};

TEST(TextFit, TheLargestSizeThatFitsIsChosenAndNeverOneAboveTheDescribed) {
  FakeFont font;
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {60, 14}), 12);  // exactly to the edge
  EXPECT_EQ(font.measured, 1);                                   // a fitting text is not searched
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {1000, 1000}), 12);  // room never enlarges it
  // 11 px is 55 wide, 10 px 50: each fits the width it is just wide enough for.
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {59.9, 100}), 11);
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {55, 100}), 11);
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {54.9, 100}), 10);
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {30, 100}), 6);
}

TEST(TextFit, TheLineHeightLimitsTooWithAPixelOfLeadingToSpare) {
  FakeFont font;
  // At 12 px the line is 15 px: it fits a room 14 px high, not 13.9.
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {100, 14}), 12);
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {100, 13.9}), 11);  // 13.75 px
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {100, 9}), 8);      // 10 px line
  // Both limits at once: the narrower one decides.
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {45, 9}), 8);
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {35, 9}), 7);
}

TEST(TextFit, NoRoomGivesTheSmallestSizeAndAFontWithoutAPixelSizeIsLeftAlone) {
  FakeFont font;
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {0, 0}), 1);
  EXPECT_EQ(fittedPixelSize(12, font.measure(), {-5, 100}), 1);
  EXPECT_EQ(fittedPixelSize(2, font.measure(), {4, 100}), 1);  // 2 px is 10 wide
  // A font sized in points reports no pixel size (-1); it is not shrunk by pixels.
  EXPECT_EQ(fittedPixelSize(-1, font.measure(), {0, 0}), -1);
}

TEST(TextFit, TheRoomEndsTwoPixelsShortOfTheEdgeOrTheNearestControlOnTheTextsRows) {
  const QSize image(400, 100);
  const QPointF at(50, 20);
  const double line = 12;  // rows 20 up to 32
  auto room = [&](const std::vector<QRect>& controls) {
    return textRoom(at, line, image, controls);
  };
  EXPECT_EQ(room({}), QSizeF(348, 80));
  // QRect(x, y, w, h): left x, top y, bottom y + h - 1.
  EXPECT_EQ(room({QRect(200, 25, 60, 16)}), QSizeF(148, 80));
  EXPECT_EQ(room({QRect(300, 25, 20, 5), QRect(200, 0, 20, 100)}), QSizeF(148, 80));  // nearest
  EXPECT_EQ(room({QRect(10, 20, 30, 12)}), QSizeF(348, 80));                          // to its left
  EXPECT_EQ(room({QRect(200, 32, 60, 10)}), QSizeF(348, 80));      // starts just below its rows
  EXPECT_EQ(room({QRect(200, 31, 60, 10)}), QSizeF(148, 80));      // reaches into its last row
  EXPECT_EQ(room({QRect(200, 0, 60, 20)}), QSizeF(348, 80));       // ends just above
  EXPECT_EQ(room({QRect(200, 0, 60, 21)}), QSizeF(148, 80));       // reaches into its first row
  EXPECT_EQ(room({QRect(50, 20, 60, 12)}), QSizeF(0, 80));         // right where it starts
  EXPECT_EQ(room({QRect(51, 20, 60, 12)}), QSizeF(0, 80));         // a pixel on: no room left
  EXPECT_EQ(textRoom({399, 100}, line, image, {}), QSizeF(0, 0));  // at the corner
}

TEST(TextFit, ATransparentTextsTrailingBlanksNeedNoRoomAnOpaqueOnesDo) {
  EXPECT_EQ(textNeedingRoom(" 9999s       ", false), " 9999s");
  EXPECT_EQ(textNeedingRoom(" 9999s       ", true), " 9999s       ");
  // Leading and inner blanks stand where the ink does; only the tail goes.
  EXPECT_EQ(textNeedingRoom("  a  b ", false), "  a  b");
  EXPECT_EQ(textNeedingRoom("   ", false), "");
  EXPECT_EQ(textNeedingRoom("", false), "");

  // Painted: a padded word in a room that holds only the word is drawn at the size of the
  // bare word, not shrunk for its blanks (50 px of room, the word some 33 px at 12 px, the
  // padded text some 60).
  auto painted = [](const std::string& text, bool opaque) {
    PictureArea pic("Readout");
    pic.place = {0, 0, 750, 300};
    pic.fontSize = 9;
    pic.fontBold = true;
    pic.FontTransparent = !opaque;
    pic.printAt(0, 0, text);
    QImage image(50, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    paintOps(pic, 0, image, 1.0 / 15, false);
    return image;
  };
  EXPECT_EQ(painted(" 9999s       ", false), painted(" 9999s", false));
  EXPECT_NE(painted(" 9999s       ", true), painted(" 9999s", true));
}

}  // namespace
}  // namespace qvx::ui
