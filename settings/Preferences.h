#pragma once

#include <QString>

// The user's preferences that "Ombrel :: Preferences" sets, kept in the
// per-user store (the program's settings, section "Settings"), so that every
// user has their own and can always change them. Each is read afresh when it
// is asked for, so a change counts from its next use. A value that cannot be
// read, or is not one the preference can take, reads as its default.

// Whole numbers and switches ("1" or "0") by key, for the preferences the
// other folders keep.
int ReadWholePreference(const QString& key, int defaultValue, int lowest, int highest);
void WriteWholePreference(const QString& key, int value);
bool ReadSwitchPreference(const QString& key, bool defaultValue);
void WriteSwitchPreference(const QString& key, bool on);

inline constexpr int DefaultTourSeconds = 10;
inline constexpr int MostTourSeconds = 3600;

// How many seconds the tour shows each cam ("tourSeconds").
int TourSeconds();
void SetTourSeconds(int seconds);

// Whether the full-screen view keeps the picture's shape, with black bars
// around it ("keepPictureShape"); off, it stretches the picture over the
// whole screen, the program's rule.
bool KeepsPictureShapeFullScreen();
void SetKeepsPictureShapeFullScreen(bool keep);

// Whether a picture of a cam that sends no "Last-Modified:" line counts as
// new when its bytes differ from the last picture's ("newWhenDiffers"). Off,
// the program's rule holds: such a picture is never new, so never saved
// automatically.
bool CountsDifferingPicturesAsNew();
void SetCountsDifferingPicturesAsNew(bool on);

// The daytime server as the user gave it, "host:port" ("timeServer"); empty
// for the program's own.
QString TimeServerPreference();
void SetTimeServerPreference(const QString& server);
