#pragma once
// Finding another launcher or game from this installation.

// Looks for another process named `name` (null: the launcher's own file name) whose
// executable lies in the launcher's folder or below it (letter case aside). Only the
// first such process in snapshot order is looked at: if it has a window, that window is brought to
// the front and the result is true; if it has none, it is made to end and the result is false. When
// looking for the launcher itself, only a shown window counts, and a windowless one that started
// after this one is left alone: it is still starting and will give way to this one. Any thread.
bool activateRunningInstance(const char* name = nullptr);
