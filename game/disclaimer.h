// disclaimer.h -- the warning screen: five grey lines on black that fade in, hold and end.
#pragma once

// Draws one frame at the stopwatch's time. True while the screen goes on; false in the first
// frame past 2000 ms or when Esc, Enter or Space is held, after that frame is shown.
bool RenderDisclaimer();
