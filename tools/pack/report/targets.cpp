#include "tools/pack/report/targets.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "player/song_catalog.h"
#include "tools/pack/report/printer.h"
#include "tools/pack/report/sample_pitch.h"
#include "tools/pack/report/song_targets.h"
#include "tools/pack/report/statistics.h"

namespace packreport {

namespace {

constexpr std::size_t kModSampleLimit = 2 * 65535;  // bytes, MOD stores lengths in words
constexpr std::size_t kPackLimit = 6u * 1024u * 1024u;
constexpr int kEnvelopeLag = 150;  // 1.5 s of 10 ms steps
const std::string kStraightEighths = "x.x.x.x.x.x.x.x.";

std::vector<const SongFigures*> Songs(const std::vector<SongFigures>& pack) {
    std::vector<const SongFigures*> songs;
    for (const SongFigures& song : pack) {
        if (song.isSong) songs.push_back(&song);
    }
    return songs;
}

void Palettes(const std::vector<SongFigures>& pack, Printer& p) {
    p.section("Instrument palettes");
    std::map<std::uint64_t, std::set<int>> musiciansOf;
    std::map<std::uint64_t, std::set<std::size_t>> songsOf;
    for (std::size_t i = 0; i < pack.size(); ++i) {
        for (std::uint64_t hash : pack[i].sampleHashes) {
            musiciansOf[hash].insert(pack[i].musician);
            if (pack[i].isSong) songsOf[hash].insert(i);
        }
    }
    int crossMusician = 0;
    for (const auto& [hash, musicians] : musiciansOf) crossMusician += musicians.size() > 1;
    p.target("samples whose data occurs with two musicians", std::to_string(crossMusician), "0",
             crossMusician == 0);

    double worst = 0;
    std::string worstSong;
    for (std::size_t i = 0; i < pack.size(); ++i) {
        if (!pack[i].isSong || pack[i].sampleHashes.empty()) continue;
        int shared = 0;
        for (std::uint64_t hash : pack[i].sampleHashes) {
            for (std::size_t other : songsOf[hash]) {
                if (other != i && pack[other].musician == pack[i].musician) {
                    ++shared;
                    break;
                }
            }
        }
        const double share = static_cast<double>(shared) / pack[i].sampleHashes.size();
        if (share > worst) {
            worst = share;
            worstSong = pack[i].fileName;
        }
    }
    p.target("most of one song's samples in another song of its musician",
             Format("%.0f %%", 100 * worst), "<= 50 %", worst <= 0.5);
    if (!worstSong.empty()) p.note("highest: " + worstSong);
    p.target("distinct samples in the pack", std::to_string(musiciansOf.size()), ">= 250",
             musiciansOf.size() >= 250);

    // MOD files whose sample set is the same as another file's.
    std::map<std::vector<std::uint64_t>, int> modSets;
    for (const SongFigures& song : pack) {
        if (song.samples && song.samples->type == "mod") ++modSets[song.sampleHashes];
    }
    int identical = 0;
    for (const auto& [set, count] : modSets) identical += count > 1 ? count : 0;
    p.target("MOD files with the same sample data as another", std::to_string(identical), "0",
             identical == 0);

    std::vector<double> drums;
    std::map<DrumKind, int> kinds;
    std::map<SampleClass, int> classes;
    std::set<std::uint64_t> counted;
    for (const SongFigures* song : Songs(pack)) {
        drums.push_back(song->scan.drumSounds);
        for (const ScannedSample& s : song->scan.samples) {
            const std::uint64_t hash =
                HashOf(song->samples->samples[static_cast<std::size_t>(s.index)].data);
            if (!counted.insert(hash).second) continue;
            ++classes[s.kind];
            if (s.drum) ++kinds[s.drumKind];
        }
    }
    const double least = *std::min_element(drums.begin(), drums.end());
    const double most = *std::max_element(drums.begin(), drums.end());
    p.target("drum sounds per song (least / median / most)",
             Format("%.0f", least) + " / " + Format("%.0f", Median(drums)) + " / " +
                 Format("%.0f", most),
             "0 to 8", least >= 0 && most <= 8);
    std::string kindList;
    for (const auto& [kind, count] : kinds) {
        kindList += std::string(DrumKindName(kind)) + " " + std::to_string(count) + ", ";
    }
    const int songsWithoutDrums = static_cast<int>(std::count(drums.begin(), drums.end(), 0.0));
    p.target("kinds of drum sound across the pack", std::to_string(kinds.size()), ">= 5",
             kinds.size() >= 5);
    p.note(kindList + "songs without drums " + std::to_string(songsWithoutDrums));
    std::string classList;
    for (const auto& [kind, count] : classes) {
        classList += std::string(SampleClassName(kind)) + " " + std::to_string(count) + ", ";
    }
    p.target("kinds of sample (single-cycle, long loop, noise, one-shot)",
             std::to_string(classes.size()), "4", classes.size() == 4);
    p.note(classList);

    std::size_t largest = 0;
    bool modShape = true;
    for (const SongFigures& song : pack) {
        if (!song.samples || song.samples->type != "mod") continue;
        for (const SampleData& sample : song.samples->samples) {
            largest = std::max(largest, sample.storedBytes);
            modShape = modShape && !sample.sixteenBit;
        }
        modShape = modShape && song.samples->samples.size() == 31;
    }
    p.target("largest MOD sample, 8-bit, 31 slots", std::to_string(largest) + " bytes", "<= 131070",
             largest <= kModSampleLimit && modShape);
}

void Grooves(const std::vector<SongFigures>& pack, Printer& p) {
    p.section("Grooves and tempi");
    std::map<int, int> speeds;
    std::vector<double> rates;
    std::map<std::string, int> patterns;
    RhythmFamilies seen;
    std::map<std::string, int> familyCounts;
    for (const SongFigures* song : Songs(pack)) {
        ++speeds[song->render.mainSpeed];
        rates.push_back(song->render.rowsPerSecond);
        if (!song->scan.dominantDrumPattern.empty()) ++patterns[song->scan.dominantDrumPattern];
        const RhythmFamilies& f = song->scan.families;
        familyCounts["four-on-the-floor"] += f.fourOnFloor;
        familyCounts["backbeat"] += f.backbeat;
        familyCounts["half-time"] += f.halfTime;
        familyCounts["breakbeat"] += f.breakbeat;
        familyCounts["shuffle"] += f.shuffle;
        familyCounts["swing"] += f.swing;
    }
    int inRange = 0;
    std::string speedList;
    for (const auto& [speed, count] : speeds) {
        inRange += speed >= 2 && speed <= 8;
        speedList += "speed " + std::to_string(speed) + ": " + std::to_string(count) + " songs, ";
    }
    p.target("different main speeds between 2 and 8", std::to_string(inRange), ">= 4",
             inRange >= 4);
    p.note(speedList);
    const double cv = CoefficientOfVariation(rates);
    p.target("rows per second, coefficient of variation", Format("%.2f", cv), ">= 0.30", cv >= 0.3);
    p.note("from " + Format("%.1f", *std::min_element(rates.begin(), rates.end())) + " to " +
           Format("%.1f", *std::max_element(rates.begin(), rates.end())) + " rows/s");
    int mostShared = 0;
    std::string mostPattern;
    for (const auto& [pattern, count] : patterns) {
        if (count > mostShared) {
            mostShared = count;
            mostPattern = pattern;
        }
    }
    p.target("distinct dominant 16-row drum patterns", std::to_string(patterns.size()), ">= 25",
             patterns.size() >= 25);
    p.target("songs sharing one dominant pattern, at most", std::to_string(mostShared), "<= 5",
             mostShared <= 5);
    if (!mostPattern.empty()) p.note("most shared: " + mostPattern);
    const int straight = patterns.count(kStraightEighths) ? patterns[kStraightEighths] : 0;
    p.target("songs dominated by straight eighths", std::to_string(straight), "<= 10",
             straight <= 10);
    for (const char* family : {"shuffle", "swing", "half-time", "breakbeat", "four-on-the-floor"}) {
        p.target(std::string("songs with a ") + family + " groove",
                 std::to_string(familyCounts[family]), ">= 1", familyCounts[family] >= 1);
    }
    p.note("backbeat: " + std::to_string(familyCounts["backbeat"]) + " songs");
}

void Forms(const std::vector<SongFigures>& pack, Printer& p) {
    p.section("Openings and forms");
    const std::vector<const SongFigures*> songs = Songs(pack);
    int buildUps = 0;
    for (const SongFigures* song : songs) buildUps += song->render.buildUpDb > 5.0;
    p.target("songs building up more than 5 dB over their first 10 s", std::to_string(buildUps),
             "<= 12", buildUps <= 12);
    double worst = -1;
    std::string worstPair;
    int over = 0;
    for (std::size_t a = 0; a < songs.size(); ++a) {
        for (std::size_t b = a + 1; b < songs.size(); ++b) {
            const double r =
                BestCorrelation(songs[a]->render.envelope, songs[b]->render.envelope, kEnvelopeLag);
            over += r > 0.8;
            if (r > worst) {
                worst = r;
                worstPair = songs[a]->fileName + " / " + songs[b]->fileName;
            }
        }
    }
    p.target("highest first-8-s envelope correlation of two songs", Format("%.3f", worst),
             "<= 0.80", worst <= 0.8);
    p.note("pairs above 0.8: " + std::to_string(over) + "; highest: " + worstPair);
    std::vector<double> lengths;
    for (const SongFigures* song : songs) lengths.push_back(song->render.seconds);
    const double shortest = *std::min_element(lengths.begin(), lengths.end());
    const double longest = *std::max_element(lengths.begin(), lengths.end());
    p.target("song lengths (shortest / longest)",
             Format("%.0f", shortest) + " / " + Format("%.0f s", longest), "90 to 240 s",
             shortest >= 90 && longest <= 240);
    const double cv = CoefficientOfVariation(lengths);
    p.target("song length, coefficient of variation", Format("%.2f", cv), ">= 0.25", cv >= 0.25);
    std::map<std::string, int> blockSongs;
    for (const SongFigures* song : songs) {
        for (const std::string& block : song->scan.noteBlocks) ++blockSongs[block];
    }
    int shared = 0;
    std::string example;
    for (const auto& [block, count] : blockSongs) {
        shared += count > 1;
        if (count > 1 && example.empty()) example = block;
    }
    p.target("16-row channel note blocks found in two songs", std::to_string(shared), "0",
             shared == 0);
    p.note(std::to_string(blockSongs.size()) + " distinct blocks of two notes or more" +
           (example.empty() ? std::string() : "; one shared: " + example));
}

void Keeps(const std::vector<SongFigures>& pack, const ReportOptions& options, Printer& p) {
    p.section("What stays");
    const std::vector<const SongFigures*> songs = Songs(pack);
    int ended = 0, missing = 0;
    std::vector<double> levels;
    double peak = -200;
    std::size_t bytes = 0;
    for (const SongFigures& song : pack) {
        missing += song.path.empty() || !song.render.loaded;
        bytes += song.bytes.size();
    }
    for (const SongFigures* song : songs) {
        ended += song->render.ended;
        levels.push_back(song->render.rmsDb);
        peak = std::max(peak, song->render.peakDb);
    }
    p.target("files present and playable",
             std::to_string(pack.size() - missing) + " of " + std::to_string(pack.size()), "all",
             missing == 0);
    p.target("songs that end by themselves",
             std::to_string(ended) + " of " + std::to_string(songs.size()), "all",
             ended == static_cast<int>(songs.size()));
    const double median = Median(levels);
    double deviation = 0;
    for (double level : levels) deviation = std::max(deviation, std::fabs(level - median));
    p.target("RMS furthest from the pack median", Format("%.2f dB", deviation), "<= 3 dB",
             deviation <= 3.0);
    p.note("median RMS " + Format("%.1f dBFS", median));
    p.target("loudest peak", Format("%.2f dBFS", peak), "<= -1 dBFS", peak <= -1.0);
    p.target("pack size", Format("%.2f MB", bytes / 1048576.0), "< 6 MB", bytes < kPackLimit);
    if (options.deterministic) {
        p.target("generator gives the same bytes twice", *options.deterministic ? "yes" : "no",
                 "yes", *options.deterministic);
    }
    if (options.generatorCurrent) {
        p.target("data folder holds what the generator builds",
                 *options.generatorCurrent ? "yes" : "no", "yes", *options.generatorCurrent);
    }
}

void Analyser(const std::vector<SongFigures>& pack, Printer& p) {
    p.section("Analyser (through the engine)");
    std::vector<double> shares;
    for (const SongFigures* song : Songs(pack)) {
        if (song->analyserShare >= 0) shares.push_back(song->analyserShare);
    }
    if (shares.empty()) {
        p.note("not measured");
        return;
    }
    const double median = Median(shares);
    p.target("passes with the tallest bar at half height (median)", Format("%.1f %%", 100 * median),
             ">= 10 %", median >= 0.10);
    p.note("least " + Format("%.1f %%", 100 * *std::min_element(shares.begin(), shares.end())) +
           ", most " + Format("%.1f %%", 100 * *std::max_element(shares.begin(), shares.end())));
}

// Melodic instruments whose sample sounds off the pitch class its notes are written at.
void SoundingPitch(const std::vector<SongFigures>& pack, Printer& p) {
    p.section("Sounding pitch of the melodic instruments (off the written pitch class)");
    int instruments = 0, off = 0, unknown = 0;
    std::vector<std::string> list;
    for (const SongFigures* song : Songs(pack)) {
        for (const ScannedSample& s : song->scan.samples) {
            if (s.uses == 0 || s.drum) continue;
            ++instruments;
            const std::optional<double>& offset =
                song->soundingOffsets[static_cast<std::size_t>(s.index)];
            if (!offset) {
                ++unknown;
                continue;
            }
            const double classOffset = PitchClassOffset(*offset);
            if (std::fabs(classOffset) < 0.5) continue;
            ++off;
            const SampleData& data = song->samples->samples[static_cast<std::size_t>(s.index)];
            list.push_back(song->fileName + ", sample " + std::to_string(s.index + 1) + " \"" +
                           data.name + "\": " + Format("%+.2f semitones", classOffset));
        }
    }
    p.note(std::to_string(instruments - off - unknown) + " of " + std::to_string(instruments) +
           " sound at their written pitch class, " + std::to_string(off) + " off it, " +
           std::to_string(unknown) + " without a clear pitch");
    for (const std::string& line : list) p.note("  " + line);
}

void PerSong(const std::vector<SongFigures>& pack, std::FILE* out) {
    std::fprintf(out, "\n%-38s %-10s %6s %5s %3s %2s %-16s %5s %5s %6s %6s\n", "file", "musician",
                 "secs", "row/s", "spd", "dr", "dominant drums", "build", "bars", "rms", "peak");
    for (const SongFigures& song : pack) {
        if (!song.isSong) continue;
        std::fprintf(
            out, "%-38s %-10s %6.1f %5.1f %3d %2d %-16s %5.1f %4.0f%% %6.1f %6.1f\n",
            song.fileName.c_str(),
            hollowtide::catalog::kMusicianHandles[static_cast<std::size_t>(song.musician)],
            song.render.seconds, song.render.rowsPerSecond, song.render.mainSpeed,
            song.scan.drumSounds,
            song.scan.dominantDrumPattern.empty() ? "-" : song.scan.dominantDrumPattern.c_str(),
            song.render.buildUpDb, 100 * song.analyserShare, song.render.rmsDb, song.render.peakDb);
    }
}

}  // namespace

bool PrintTargets(const std::vector<SongFigures>& pack, const ReportOptions& options,
                  std::FILE* out) {
    Printer p(out);
    std::fprintf(out, "%-60s %-22s %-14s %s\n", "target", "measured", "goal", "result");
    Keeps(pack, options, p);
    for (const SongFigures& song : pack) {
        if (song.path.empty() || !song.samples || !song.render.loaded) {
            std::fprintf(out, "\ncannot read %s: no further figures\n", song.fileName.c_str());
            return false;
        }
    }
    Palettes(pack, p);
    Grooves(pack, p);
    Forms(pack, p);
    Analyser(pack, p);
    SongMeasureTargets(Songs(pack), p);
    SoundingPitch(pack, p);
    if (options.perSong) {
        PerSong(pack, out);
        PrintSongMeasureLines(Songs(pack), out);
    }
    std::fprintf(out, "\n%s\n", p.allMet() ? "every target met" : "some targets not met");
    return p.allMet();
}

}  // namespace packreport
