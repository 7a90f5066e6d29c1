#pragma once
// Finding a game (or another program of this installation) already running.

// Looks for other processes named `name` whose executable lies in the launcher's folder or
// below it (letter case aside). If one of them has a window, that window is brought to
// the front and the result is true; otherwise those found are ended and the result is
// false. Any thread.
bool activateRunningInstance(const char* name);
