#pragma once

namespace qvx {

// The measurements panel beside the signal display, the second cursor it reads, and the
// pointer on the display (measure/).
struct MeasurementState {
  int MeasPanelOpen = 0;  // 1 while the panel is shown
  // 1 when a remote run also writes the measurement file (command-file item MDATA).
  int WriteMeasurements = 0;
  // The second cursor, in the display's x units like CursorX; it is drawn with the
  // first whenever a cursor channel is chosen.
  double Cursor2X = 0;
  // Which cursor the pointer holds while its button is down: 0 none, 1 the first,
  // 2 the second; and, for a drag that scrolls, the pointer's x where the drag began
  // and the window position then.
  int PointerCursor = 0;
  int PointerScrolling = 0;
  double PointerStartX = 0;
  int PointerStartView = 0;
};

}  // namespace qvx
