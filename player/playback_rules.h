// The player's rules that need no window: the shuffle pick, the title scroll step and the path
// of a song's module. frm_MAIN applies them; tests drive them directly.
#pragma once

#include <QByteArray>
#include <QString>
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

}  // namespace hollowtide::player
