#pragma once
// Qt's own dialogs remember things (the file dialog its places, history and view; the colour
// dialog its custom colours) in one configuration file that every Qt program of the user shares.
// Orvani writes no configuration but its own, so its dialogs neither read nor write that file.

// Turns Qt's shared configuration file off for this program; call before making a Qt dialog.
// Safe to call any number of times.
void KeepToolkitSettingsPrivate();
