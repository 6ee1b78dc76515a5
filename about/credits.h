// The two credit lines of the About screen, which swap every tick of its credits timer: the
// code credit with the graphics credit, and the engine's version with its author.
// Runs on the UI thread only.
#pragma once

namespace hollowtide::about {

inline constexpr char kCodeCredit[] = "CODE: Quiddle";
inline constexpr char kGraphicsCredit[] = "GFX: Quiddle";
inline constexpr char kEngineVersionCredit[] = "BASS.DLL v1.8";
inline constexpr char kEngineAuthorCredit[] = "By: Oskar Venholm";

class Credits {
  public:
    // Both toggles flip on every tick; they are kept apart because each label has its own.
    void Tick() {
        ShowingCode = !ShowingCode;
        ShowingVersion = !ShowingVersion;
    }

    const char* Label1Caption() const { return ShowingCode ? kCodeCredit : kGraphicsCredit; }
    const char* Label3Caption() const {
        return ShowingVersion ? kEngineVersionCredit : kEngineAuthorCredit;
    }

    bool ShowingCode = true;     // Label1 shows the code credit
    bool ShowingVersion = true;  // Label3 shows the engine's version
};

}  // namespace hollowtide::about
