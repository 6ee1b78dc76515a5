// The player's rules that need no window: the shuffle pick, the title scroll step and the path
// of a song's module. frm_MAIN applies them; tests drive them directly.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

#include "player/song_table.h"

namespace hollowtide::player {

// Title scroll geometry, in twips: the left edge of the title starts just beyond the right edge
// of its 2715-twip box, moves 100 twips left per tick and re-enters after reaching -3000.
inline constexpr int kTitleStartTwips = 3000;
inline constexpr int kTitleStepTwips = 100;
inline constexpr int kTitleWrapTwips = -3000;

// The title's left edge after one scroll tick.
int NextTitleLeft(int leftTwips);

// A source of uniform values in [0, 1).
using UniformDraw = std::function<float()>;

// Draws song numbers from 1 to 49 until one differs from `avoid`; values outside [0, 1) from a
// faulty source are brought back into range rather than giving a song that does not exist.
int PickRandomSong(int avoid, const UniformDraw& draw);

// A draw from a generator seeded from the clock at this call.
UniformDraw ClockSeededDraw();

// The module's path as the engine takes it: the program folder followed directly by the stored
// path ("\data\..."), as 8-bit text. A trailing separator on the folder is dropped so the two
// never double up.
QByteArray SongPath(const QString& programFolder, const SongEntry& entry);

// The 8-bit path handed to the engine for a file stored as "\data\..." beside the program: the
// program's folder without a trailing separator, then the stored path.
QByteArray ProgramFilePath(const QString& programFolder, const QString& storedPath);

// The key in M's place on a US keyboard, as the X11 and Wayland keyboards number it (the
// kernel's KEY_M, 50, plus 8).
inline constexpr quint32 kUsMKeyScanCode = 58;

// Whether a key press is the M key that opens the hidden window. On a layout with Latin
// letters it is the key that types M, wherever that sits (`qtKey` is Qt::Key_M). On a layout
// whose letters are not Latin (Russian, Greek...) it is the letter key in M's US place.
bool IsHiddenWindowKey(int qtKey, quint32 nativeScanCode);

// Watches for a pack in which nothing plays: Complete() once as many songs as the table holds
// have failed to play in a row. In order, that is every song of the table once; under shuffle,
// where random picks would take some 220 tries on average to meet every song, it is as many
// boxes as the table has songs. A song that plays starts the count afresh.
class FailedRound {
  public:
    void Record(int song, bool played);
    bool Complete() const { return failuresInARow_ >= kSongCount; }
    int FailuresInARow() const { return failuresInARow_; }

  private:
    int failuresInARow_ = 0;
};

}  // namespace hollowtide::player
