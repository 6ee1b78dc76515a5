// The pack's content as plain data: the sixteen musicians and the 49 songs with their titles,
// stored paths, load flags and formats. The song table (player/song_table.cpp) and the pack
// generator (tools/pack) both read this header, so the table never names a file the generator
// does not write. Plain C++ only: the generator does not link Qt.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace hollowtide::catalog {

enum class ModuleFormat { Mod, Xm, It };

// Musician handles in alphabetical order, as the marquee credits them. Indices into this array
// are the musician numbers the songs below refer to.
inline constexpr std::array<const char*, 16> kMusicianHandles = {
    "ANCHORBYTE", "BRINEWORM", "CORALSYNC", "DuskMoth",  "EELGRASS",  "FATHOM8",
    "GULLWING",   "HARPOONIE", "KELPFRAME", "LUGWORM",   "MARLSPIKE", "NAUTILOID",
    "PEARLDVR",   "SALTMARSH", "UNDERTOW",  "WRACKLINE",
};

namespace musician {
inline constexpr int kAnchorbyte = 0;
inline constexpr int kBrineworm = 1;
inline constexpr int kCoralsync = 2;
inline constexpr int kDuskmoth = 3;
inline constexpr int kEelgrass = 4;
inline constexpr int kFathom8 = 5;
inline constexpr int kGullwing = 6;
inline constexpr int kHarpoonie = 7;
inline constexpr int kKelpframe = 8;
inline constexpr int kLugworm = 9;
inline constexpr int kMarlspike = 10;
inline constexpr int kNautiloid = 11;
inline constexpr int kPearldvr = 12;
inline constexpr int kSaltmarsh = 13;
inline constexpr int kUndertow = 14;
inline constexpr int kWrackline = 15;
}  // namespace musician

struct CatalogSong {
    std::int16_t number;
    int musician;              // index into kMusicianHandles
    const char* displayTitle;  // "ARTIST_tune name.EXT"
    const char* storedPath;    // "\data\" and the file name, in the file's own letter case
    std::uint32_t loadFlags;
    ModuleFormat format;
};

inline constexpr std::size_t kStoredPathPrefixLength = 6;  // "\data\"

// The file name inside data/, as the generator writes it.
constexpr const char* FileNameOf(const CatalogSong& song) {
    return song.storedPath + kStoredPathPrefixLength;
}

inline constexpr std::uint32_t kModFlags = 34;
inline constexpr std::uint32_t kModNonInterpolatedFlags = 16418;
inline constexpr std::uint32_t kXmFlags = 17;
inline constexpr std::uint32_t kXmNonInterpolatedFlags = 16401;
inline constexpr std::uint32_t kItFlags = 2;
inline constexpr std::uint32_t kItFt2Flags = 18;

namespace detail {
using enum ModuleFormat;
using namespace musician;
// clang-format off
inline constexpr std::array<CatalogSong, 49> kSongs = {{
    {1,  kAnchorbyte, "ANCHORBYTE_ahoy Amiga.MOD",         "\\data\\AnchorByte_ahoy Amiga.MOD",         kModFlags,                Mod},
    {2,  kAnchorbyte, "ANCHORBYTE_bilge pump.XM",          "\\data\\anchorbyte_bilge pump.xm",          kXmFlags,                 Xm},
    {3,  kAnchorbyte, "ANCHORBYTE_deep blue 2.MOD",        "\\data\\ANCHORBYTE_deep blue 2.MOD",        kModFlags,                Mod},
    {4,  kAnchorbyte, "ANCHORBYTE_foghorn funk.MOD",       "\\data\\ANCHORBYTE_Foghorn Funk.mod",       kModFlags,                Mod},
    {5,  kAnchorbyte, "ANCHORBYTE_gulf stream.XM",         "\\data\\AnchorByte_gulf stream.xm",         kXmFlags,                 Xm},
    {6,  kAnchorbyte, "ANCHORBYTE_lantern.MOD",            "\\data\\anchorbyte_lantern.mod",            kModNonInterpolatedFlags, Mod},
    {7,  kAnchorbyte, "ANCHORBYTE_sea legs.MOD",           "\\data\\ANCHORBYTE_Sea Legs.mod",           kModNonInterpolatedFlags, Mod},
    {8,  kBrineworm,  "BRINEWORM_kraken dub.MOD",          "\\data\\BRINEWORM_kraken dub.MOD",          kModFlags,                Mod},
    {9,  kBrineworm,  "BRINEWORM_saltlick.MOD",            "\\data\\brineworm_saltlick.mod",            kModNonInterpolatedFlags, Mod},
    {10, kDuskmoth,   "DUSKMOTH_night bloom.XM",           "\\data\\DuskMoth_night bloom.xm",           kXmFlags,                 Xm},
    {11, kCoralsync,  "CORALSYNC_reef runner.MOD",         "\\data\\CORALSYNC_reef runner.MOD",         kModFlags,                Mod},
    {12, kEelgrass,   "EELGRASS_undercurrent.IT",          "\\data\\eelgrass_undercurrent.it",          kItFlags,                 It},
    {13, kFathom8,    "FATHOM8_bathysphere.MOD",           "\\data\\Fathom8_Bathysphere.MOD",           kModFlags,                Mod},
    {14, kFathom8,    "FATHOM8_echo sounder.MOD",          "\\data\\fathom8_echo sounder.mod",          kModFlags,                Mod},
    {15, kFathom8,    "FATHOM8_pressure.XM",               "\\data\\FATHOM8_Pressure.xm",               kXmFlags,                 Xm},
    {16, kFathom8,    "FATHOM8_trench.MOD",                "\\data\\fathom8_trench.mod",                kModNonInterpolatedFlags, Mod},
    {17, kGullwing,   "GULLWING_harbour lights.MOD",       "\\data\\GullWing_harbour lights.MOD",       kModNonInterpolatedFlags, Mod},
    {18, kGullwing,   "GULLWING_shore leave.MOD",          "\\data\\gullwing_shore leave.mod",          kModNonInterpolatedFlags, Mod},
    {19, kHarpoonie,  "HARPOONIE_captain's log.MOD",       "\\data\\HARPOONIE_captain's log.MOD",       kModFlags,                Mod},
    {20, kLugworm,    "LUGWORM_low water.MOD",             "\\data\\lugworm_low water.mod",             kModNonInterpolatedFlags, Mod},
    {21, kLugworm,    "LUGWORM_mudflat stomp!.MOD",        "\\data\\LUGWORM_Mudflat Stomp!.mod",        kModNonInterpolatedFlags, Mod},
    {22, kKelpframe,  "KELPFRAME_Amiga tides.MOD",         "\\data\\KelpFrame_Amiga Tides.MOD",         kModNonInterpolatedFlags, Mod},
    {23, kKelpframe,  "KELPFRAME_cracktro.MOD",            "\\data\\kelpframe_cracktro.mod",            kModNonInterpolatedFlags, Mod},
    {24, kKelpframe,  "KELPFRAME_holdfast.MOD",            "\\data\\KELPFRAME_Holdfast.mod",            kModNonInterpolatedFlags, Mod},
    {25, kKelpframe,  "KELPFRAME_sunbeams.MOD",            "\\data\\kelpframe_sunbeam.mod",             kModNonInterpolatedFlags, Mod},
    {26, kKelpframe,  "KELPFRAME_swell.MOD",               "\\data\\kelpframe_swell.mod",               kModNonInterpolatedFlags, Mod},
    {27, kMarlspike,  "MARLSPIKE_knots.XM",                "\\data\\MARLSPIKE_knots.XM",                kXmFlags,                 Xm},
    {28, kNautiloid,  "NAUTILOID_ammonite.XM",             "\\data\\Nautiloid_Ammonite.XM",             kXmFlags,                 Xm},
    {29, kNautiloid,  "NAUTILOID_chambered.XM",            "\\data\\nautiloid_chambered.xm",            kXmFlags,                 Xm},
    {30, kNautiloid,  "NAUTILOID_cuttlefish.XM",           "\\data\\NAUTILOID_Cuttlefish.xm",           kXmFlags,                 Xm},
    {31, kNautiloid,  "NAUTILOID_deep time.XM",            "\\data\\nautiloid_deep time.xm",            kXmFlags,                 Xm},
    {32, kNautiloid,  "NAUTILOID_golden ratio.XM",         "\\data\\Nautiloid_golden ratio.xm",         kXmFlags,                 Xm},
    {33, kNautiloid,  "NAUTILOID_ink cloud.XM",            "\\data\\nautiloid_ink cloud.xm",            kXmFlags,                 Xm},
    {34, kNautiloid,  "NAUTILOID_jet propulsion.XM",       "\\data\\NAUTILOID_Jet Propulsion.xm",       kXmFlags,                 Xm},
    {35, kNautiloid,  "NAUTILOID_siphuncle.XM",            "\\data\\nautiloid_siphuncle.xm",            kXmFlags,                 Xm},
    {36, kNautiloid,  "NAUTILOID_spiral.XM",               "\\data\\nautiloid_spiral.xm",               kXmFlags,                 Xm},
    {37, kSaltmarsh,  "SALTMARSH_heron at dawn.XM",        "\\data\\SALTMARSH_heron at dawn.XM",        kXmNonInterpolatedFlags,  Xm},
    {38, kPearldvr,   "PEARLDVR_oyster bed.IT",            "\\data\\PEARLDVR_oyster bed.IT",            kItFt2Flags,              It},
    {39, kUndertow,   "UNDERTOW_breakwater.MOD",           "\\data\\Undertow_breakwater.MOD",           kModNonInterpolatedFlags, Mod},
    {40, kUndertow,   "UNDERTOW_drift + pull.MOD",         "\\data\\undertow_drift + pull.mod",         kModNonInterpolatedFlags, Mod},
    {41, kUndertow,   "UNDERTOW_pulled under.MOD",         "\\data\\UNDERTOW_Pulled Under.mod",         kModNonInterpolatedFlags, Mod},
    {42, kUndertow,   "UNDERTOW_riptide.MOD",              "\\data\\undertow_riptide.mod",              kModNonInterpolatedFlags, Mod},
    {43, kWrackline,  "WRACKLINE_beachcomber.MOD",         "\\data\\WRACKLINE_beachcomber.MOD",         kModFlags,                Mod},
    {44, kWrackline,  "WRACKLINE_flotsam.MOD",             "\\data\\WrackLine_flotsam.MOD",             kModFlags,                Mod},
    {45, kWrackline,  "WRACKLINE_high water mark.MOD",     "\\data\\wrackline_high water mark.mod",     kModNonInterpolatedFlags, Mod},
    {46, kWrackline,  "WRACKLINE_jetsam.MOD",              "\\data\\WRACKLINE_jetsam.MOD",              kModFlags,                Mod},
    {47, kWrackline,  "WRACKLINE_message in a bottle.MOD", "\\data\\wrackline_message in a bottle.mod", kModFlags,                Mod},
    {48, kWrackline,  "WRACKLINE_sea glass.MOD",           "\\data\\WRACKLINE_Sea Glass.mod",           kModFlags,                Mod},
    {49, kWrackline,  "WRACKLINE_strandline.MOD",          "\\data\\wrackline_strandline.mod",          kModNonInterpolatedFlags, Mod},
}};
// clang-format on
}  // namespace detail

inline constexpr const std::array<CatalogSong, 49>& kSongs = detail::kSongs;

// The intro tune: the handle of the musician of songs 1 to 7, then "_mm-complete.MOD".
inline constexpr const char* kIntroTuneFileName = "ANCHORBYTE_mm-complete.MOD";
inline constexpr int kIntroTuneMusician = musician::kAnchorbyte;

// The intro screen's credits line: the group, then every handle followed by "....".
inline std::string MarqueeText() {
    std::string text = "F3NL4RK  CH!P P4CK... Featuring... ";
    for (const char* handle : kMusicianHandles) {
        text += handle;
        text += "....";
    }
    return text;
}

}  // namespace hollowtide::catalog
