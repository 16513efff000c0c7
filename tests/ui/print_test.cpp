#include "printing/print.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "control/startup.h"
#include "rig.h"
#include "ui/main_window.h"
#include "ui/print_output.h"

namespace qvx::ui {
namespace {

namespace fs = std::filesystem;

// What a one-page PDF written by the print holds: its page count, its page size in points
// and the pixels of its largest picture.
struct PdfPage {
  int pages = 0;
  double width = 0, height = 0;
  QImage picture;
};

QImage decodeImage(const QByteArray& dict, const QByteArray& stream) {
  const auto number = [&dict](const char* key) {
    QRegularExpression re(QString("/%1 (\\d+)").arg(key));
    return re.match(QString::fromLatin1(dict)).captured(1).toInt();
  };
  const int w = number("Width"), h = number("Height");
  if (dict.contains("/DCTDecode")) return QImage::fromData(stream, "JPEG");
  if (!dict.contains("/FlateDecode") || w <= 0 || h <= 0) return {};
  // qUncompress wants the expected length in front of the zlib data.
  QByteArray sized(4, 0);
  const quint32 expected = quint32(w) * quint32(h) * 3;
  for (int i = 0; i < 4; ++i) sized[i] = char((expected >> (24 - 8 * i)) & 0xFF);
  const QByteArray rgb = qUncompress(sized + stream);
  if (rgb.size() < int(expected)) return {};
  QImage image(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y) memcpy(image.scanLine(y), rgb.constData() + y * w * 3, w * 3);
  return image;
}

PdfPage readPdf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string raw{std::istreambuf_iterator<char>(in), {}};
  const QByteArray pdf = QByteArray::fromStdString(raw);
  PdfPage page;
  if (!pdf.startsWith("%PDF")) return page;
  const QString text = QString::fromLatin1(pdf);
  page.pages = int(text.count(QRegularExpression("/Type\\s*/Page(?!s)")));
  const auto box = QRegularExpression("/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)").match(text);
  page.width = box.captured(1).toDouble();
  page.height = box.captured(2).toDouble();
  qsizetype at = 0;
  while ((at = pdf.indexOf("/Subtype /Image", at)) >= 0) {
    const qsizetype dictStart = pdf.lastIndexOf("<<", at);
    const qsizetype streamAt = pdf.indexOf("stream", at);
    const qsizetype endAt = pdf.indexOf("endstream", streamAt);
    qsizetype dataAt = streamAt + 6;
    if (pdf[dataAt] == '\r') ++dataAt;
    if (pdf[dataAt] == '\n') ++dataAt;
    QImage image =
        decodeImage(pdf.mid(dictStart, streamAt - dictStart), pdf.mid(dataAt, endAt - dataAt));
    if (image.width() * image.height() > page.picture.width() * page.picture.height())
      page.picture = image;
    at = endAt;
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

struct PrintingWindow {
  qvx::testing::TempFolder folder;
  qvx::testing::Rig rig;
  MainWindow window{rig.scope.panel};
  Panel& p = rig.scope.panel;

  explicit PrintingWindow(bool toFile = true) {
    std::ofstream("QVXport.cfg") << "1\n";
    rig.host.onPump = [this] { window.sync(); };
    Form_Load(rig.scope);
    installPrinting(rig.scope, window, toFile ? (folder.path() / "print.pdf").string() : "");
    window.sync();
    window.show();
    Form_Activate(rig.scope);
    window.sync();
    QCoreApplication::processEvents();
  }
  PdfPage print(Button& choice) {
    rig.host.afterPumps(2, [&choice] { choice.click(); });
    p.Command1.click();
    return readPdf(folder.path() / "print.pdf");
  }
};

TEST(Printing, TheWholeWindowFillsOneLandscapeOrPortraitPage) {
  PrintingWindow w;
  const QSize shown = w.window.size();
  const PdfPage landscape = w.print(w.p.Printform);
  EXPECT_EQ(landscape.pages, 1);
  EXPECT_GT(landscape.width, landscape.height);
  ASSERT_FALSE(landscape.picture.isNull());
  EXPECT_NEAR(landscape.picture.width() / double(landscape.picture.height()),
              shown.width() / double(shown.height()), 0.02);
  EXPECT_GT(colours(landscape.picture), 5);

  const PdfPage portrait = w.print(w.p.PrintformPort);
  EXPECT_EQ(portrait.pages, 1);
  EXPECT_LT(portrait.width, portrait.height);
  EXPECT_GT(colours(portrait.picture), 5);
  EXPECT_TRUE(w.rig.host.messages.empty());
}

TEST(Printing, TheSignalDisplayAloneIsPrintedWithoutTheMenu) {
  PrintingWindow w;
  const PdfPage page = w.print(w.p.Printsignal);
  EXPECT_EQ(page.pages, 1);
  ASSERT_FALSE(page.picture.isNull());
  const QWidget* display = w.window.widgetFor("ScopeScreen");
  EXPECT_EQ(page.picture.size(), display->size());
  EXPECT_GT(colours(page.picture), 2);
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
