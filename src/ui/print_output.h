#pragma once
#include <QPixmap>
#include <string>

#include "core/scope.h"
#include "ui/main_window.h"

namespace qvx::ui {

// Fills the print menu's seam (`Scope::printer`) with Qt's print support: the whole
// window scaled to fit a landscape or portrait page, or the signal display alone at a
// share of the page width, on the system's default printer. With `printTo` set every
// print goes to that PDF file instead; with no printer set up the page goes to a PDF file
// in the current folder and a message box names it, so no print is silently lost.
void installPrinting(Scope& s, MainWindow& window, std::string printTo);

// How a picture is placed on a page: `fit` scales it to the largest size that fits with
// its shape kept; otherwise it is `widthShare` of the page width wide (and kept inside the
// page height). Both keep the picture's width-to-height ratio and start at the top left.
QRectF placeOnPage(const QSizeF& picture, const QRectF& page, bool fit, double widthShare);

}  // namespace qvx::ui
