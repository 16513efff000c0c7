#include <gtest/gtest.h>

#include <QImage>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fifo_watch.h"
#include "ui/print_output.h"
#include "ui/started_window.h"

namespace qvx::ui {
namespace {

namespace fs = std::filesystem;

// What a PDF written by the print holds: its page count, the size of its first page in
// points, and its largest picture.
struct PdfPage {
  int pages = 0;
  double width = 0, height = 0;
  QImage picture;
};

PdfPage readPdf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const QByteArray pdf = QByteArray::fromStdString({std::istreambuf_iterator<char>(in), {}});
  const QString text = QString::fromLatin1(pdf);
  PdfPage page;
  page.pages = int(text.count(QRegularExpression("/Type\\s*/Page(?!s)")));
  const auto box = QRegularExpression("/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)").match(text);
  page.width = box.captured(1).toDouble();
  page.height = box.captured(2).toDouble();
  // Qt writes a coloured picture as a JPEG stream; an all-grey (blank) one is written
  // otherwise, leaves no picture here and so fails the checks.
  for (qsizetype at = 0; (at = pdf.indexOf("/Subtype /Image", at)) >= 0;) {
    const qsizetype dataAt = pdf.indexOf('\n', pdf.indexOf("stream", at)) + 1;
    at = pdf.indexOf("endstream", dataAt);
    const QImage image = QImage::fromData(pdf.mid(dataAt, at - dataAt), "JPEG");
    if (image.width() * image.height() > page.picture.width() * page.picture.height())
      page.picture = image;
  }
  return page;
}

// Distinct colours of a picture, counted on a coarse grid: a blank page has one.
int colours(const QImage& image) {
  QSet<QRgb> seen;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) seen.insert(image.pixel(x, y));
  return int(seen.size());
}

struct PrintingWindow : testing::StartedWindow {
  explicit PrintingWindow(bool toFile = true) {
    installPrinting(rig.scope, window, toFile ? (folder.path() / "print.pdf").string() : "");
  }
  Panel& p = rig.scope.panel;
  PdfPage print(Button& choice) {
    rig.host.afterPumps(2, [&choice] { choice.click(); });
    p.Command1.click();
    return readPdf(folder.path() / "print.pdf");
  }
};

TEST(Printing, TheWholeWindowFillsOneLandscapeOrPortraitPageTheSignalDisplayPrintsAlone) {
  PrintingWindow w;
  for (const auto& [choice, landscape] :
       {std::pair{&w.p.Printform, true}, {&w.p.PrintformPort, false}}) {
    const PdfPage page = w.print(*choice);
    EXPECT_EQ(page.pages, 1);
    EXPECT_EQ(page.width > page.height, landscape);
    EXPECT_EQ(page.picture.size(), w.window.size());  // the window grabbed whole
    EXPECT_GT(colours(page.picture), 5);
  }
  const PdfPage signal = w.print(w.p.Printsignal);  // without the menu over it
  EXPECT_EQ(signal.pages, 1);
  EXPECT_EQ(signal.picture.size(), w.window.widgetFor("ScopeScreen")->size());
  EXPECT_GT(colours(signal.picture), 2);
  EXPECT_TRUE(w.rig.host.messages.empty());
}

TEST(Printing, WithNoPrinterThePageGoesToAPdfFileHereAndAMessageNamesIt) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a printer";
  PrintingWindow w(false);
  std::string menu;
  w.rig.host.afterPumps(2, [&] {
    menu = w.p.printwindow.texts();
    w.p.PrintformPort.click();
  });
  w.p.Command1.click();
  EXPECT_NE(menu.find("no printer is set up"), std::string::npos) << menu;
  ASSERT_EQ(w.rig.host.messages.size(), 1u);
  const std::string& said = w.rig.host.messages[0].text;
  std::vector<fs::path> pdfs;
  for (const auto& e : fs::directory_iterator(w.folder.path()))
    if (e.path().extension() == ".pdf") pdfs.push_back(e.path());
  ASSERT_EQ(pdfs.size(), 1u);
  EXPECT_NE(said.find(pdfs[0].filename().string()), std::string::npos) << said;
  const PdfPage page = readPdf(pdfs[0]);
  EXPECT_EQ(page.pages, 1);
  EXPECT_LT(page.width, page.height);
}

// A FIFO named as the print file would hold the PDF writer in open() until someone read
// it: the print is refused at once, with the reason, and the FIFO left as it was.
TEST(Printing, AFifoNamedAsThePrintFileIsRefusedAtOnce) {
  PrintingWindow w;
  qvx::testing::FifoWatch fifo((w.folder.path() / "print.pdf").string());
  w.rig.host.afterPumps(2, [&] { w.p.Printsignal.click(); });
  EXPECT_LT(qvx::testing::secondsFor([&] { w.p.Command1.click(); }), 0.5);
  ASSERT_EQ(w.rig.host.messages.size(), 1u);
  EXPECT_EQ(w.rig.host.messages[0].text, "The page could not be printed on the file " +
                                             (w.folder.path() / "print.pdf").string() +
                                             ": it is not a plain file.");
  EXPECT_TRUE(fifo.stillThere());
}

TEST(Printing, PicturesKeepTheirShapeOnThePage) {
  const QRectF page(0, 0, 1000, 700);
  // A wide picture fills the width; a tall one the height.
  EXPECT_EQ(placeOnPage({2000, 1000}, page, true, 1), QRectF(0, 0, 1000, 500));
  EXPECT_EQ(placeOnPage({1000, 1000}, page, true, 1), QRectF(0, 0, 700, 700));
  // The signal display at 0.99 of the width, unless that would run off the page.
  EXPECT_EQ(placeOnPage({1000, 400}, page, false, 0.99), QRectF(0, 0, 990, 396));
  EXPECT_EQ(placeOnPage({1000, 1000}, page, false, 0.99), QRectF(0, 0, 700, 700));
}

}  // namespace
}  // namespace qvx::ui
