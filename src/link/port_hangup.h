// A port whose thread failed (an unplugged adapter) is taken out of use.
#pragma once

// Closes programmer ch's port and unlinks it. A step that was running ends
// by its reply time-out; the next search finds the programmer again.
void HandleHangup(int ch);
