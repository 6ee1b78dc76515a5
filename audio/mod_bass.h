// Engine texts shared by every window: the version as "major.minor" and the message of an
// engine error code.
#pragma once

#include <QString>

namespace hollowtide::audio {

// The engine's version as text, major and minor joined by a full stop ("1.8").
QString EngineVersionText();

// The message of an engine error code; the empty text for a code without one.
QString EngineErrorText(int code);

// The only engine version the program accepts.
inline constexpr char kRequiredEngineVersion[] = "1.8";

}  // namespace hollowtide::audio
