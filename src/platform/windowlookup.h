// The single-instance rule: a running copy of the former program is brought to
// the front instead of starting a second window.
#pragma once

namespace tandrel {

// Looks on the X display (DISPLAY) for a top-level window of class "TMainForm"
// titled "Corvessa", else one titled "Корвесса". When one is found it is
// restored if minimized, raised and activated, and the result is true. False
// when none is found or there is no display.
bool ActivateRunningInstance();

}  // namespace tandrel
