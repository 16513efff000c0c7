#include "core/status_box.h"

namespace qvx {

void showStatus(Scope& s, const std::string& line1, const std::string& line2) {
  PictureArea& box = s.panel.Trigwait;
  box.cls();
  box.visible = true;
  box.print(line1);
  box.print(line2);
}

}  // namespace qvx
