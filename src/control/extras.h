#pragma once
#include "core/scope.h"

namespace qvx {

// The handling extras: the Extras panel (auto trigger, FFT window, FFT scale), kept in the
// host's settings, and the status line that keeps a run's refusal readable. All hidden at
// start, so the described window stays as it is until they are used.
void layOutExtras(Panel& p);
void wireExtras(Scope& s);

// Opens the Extras panel, or closes it when open.
void toggleExtras(Scope& s);
// The extras' buttons show the settings as they stand.
void showExtras(Scope& s);

// The status line over the display's foot: shows `text`, or hides when it is empty.
void showStatusLine(Scope& s, const std::string& text);

}  // namespace qvx
