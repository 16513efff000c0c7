#include "ui/print_output.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cstdio>

#include "core/plain_file.h"

namespace qvx::ui {

namespace {

// Where a print goes: the chosen file, the default printer, or a new PDF file here.
struct Target {
  QString pdfFile;  // empty: the default printer
  bool fallback = false;
};

Target target(const std::string& printTo) {
  if (!printTo.empty()) return {QString::fromStdString(printTo), false};
  if (!QPrinterInfo::defaultPrinter().isNull()) return {};
  const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
  return {QString("qvxscope-print-%1.pdf").arg(stamp), true};
}

std::string describe(const std::string& printTo) {
  if (!printTo.empty()) return "the file " + printTo;
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  if (printer.isNull()) return "a PDF file in the current folder (no printer is set up)";
  return "the default printer, " + printer.printerName().toStdString();
}

// The PDF file is opened here first, without waiting: a FIFO or device under its name
// would hold the program in the PDF writer's open() until another program read it.
bool plainTarget(Scope& s, const Target& where, const std::string& printTo) {
  if (where.pdfFile.isEmpty()) return true;
  std::string why;
  std::FILE* f = openPlainFile(where.pdfFile.toStdString(), "ab", &why);
  if (f) {
    std::fclose(f);
    return true;
  }
  s.host.MsgBox("The page could not be printed on " + describe(printTo) + ": " + why + ".",
                mb::OK | mb::Critical, "Print");
  return false;
}

void printPicture(Scope& s, const std::string& printTo, const QPixmap& picture,
                  QPageLayout::Orientation orientation, bool fit, double widthShare) {
  const Target where = target(printTo);
  if (!plainTarget(s, where, printTo)) return;
  QPrinter printer(QPrinter::HighResolution);
  if (!where.pdfFile.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(where.pdfFile);
  }
  printer.setPageOrientation(orientation);
  QPainter painter;
  if (!painter.begin(&printer)) {
    s.host.MsgBox("The page could not be printed on " + describe(printTo) + ".",
                  mb::OK | mb::Critical, "Print");
    return;
  }
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QRectF area(0, 0, page.width(), page.height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(placeOnPage(picture.size(), area, fit, widthShare), picture,
                     QRectF(picture.rect()));
  if (!painter.end()) {
    s.host.MsgBox("The page could not be finished on " + describe(printTo) + ".",
                  mb::OK | mb::Critical, "Print");
    return;
  }
  if (where.fallback)
    s.host.MsgBox("No printer is set up: the page was saved as " + where.pdfFile.toStdString() +
                      " in the current folder.",
                  mb::OK, "Print");
}

}  // namespace

QRectF placeOnPage(const QSizeF& picture, const QRectF& page, bool fit, double widthShare) {
  if (picture.isEmpty() || page.isEmpty()) return {page.topLeft(), QSizeF()};
  const double ratio = picture.height() / picture.width();
  double width = fit ? page.width() : page.width() * widthShare;
  if (fit && page.height() / page.width() < ratio) width = page.height() / ratio;
  if (!fit && width * ratio > page.height()) width = page.height() / ratio;
  return {page.topLeft(), QSizeF(width, width * ratio)};
}

void installPrinting(Scope& s, MainWindow& window, std::string printTo) {
  s.printer.destination = [printTo] { return describe(printTo); };
  s.printer.toChosenFile = !printTo.empty();
  s.printer.window = [&s, &window, printTo](bool portrait) {
    window.sync();
    QCoreApplication::processEvents();
    printPicture(s, printTo, window.grab(),
                 portrait ? QPageLayout::Portrait : QPageLayout::Landscape, true, 1.0);
  };
  s.printer.signalDisplay = [&s, &window, printTo](double widthShare) {
    window.sync();
    QCoreApplication::processEvents();
    QWidget* display = window.widgetFor("ScopeScreen");
    if (!display) return;
    printPicture(s, printTo, display->grab(), QPageLayout::Portrait, false, widthShare);
  };
}

}  // namespace qvx::ui
