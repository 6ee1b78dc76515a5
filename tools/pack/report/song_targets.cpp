#include "tools/pack/report/song_targets.h"

#include <algorithm>
#include <functional>
#include <string>

#include "tools/pack/report/human_ranges.h"
#include "tools/pack/report/statistics.h"

namespace packreport {

namespace {

constexpr double kLoudEndDb = -30;

using Figure = std::function<double(const SongFigures&)>;

struct Measure {
    const char* name;
    Figure value;
    bool isShare = false;  // a share, where a negative value means "not measured"
};

const std::vector<Measure>& Measures() {
    static const std::vector<Measure> measures = {
        {"level of the last 0.5 s, dBFS",
         [](const SongFigures& s) { return s.render.levels.endDb; }},
        {"centroid spread, Hz", [](const SongFigures& s) { return s.render.centroidSpread; }},
        {"crest factor, dB", [](const SongFigures& s) { return s.render.crestDb; }},
        {"RMS level, dBFS", [](const SongFigures& s) { return s.render.rmsDb; }},
        {"repeated order positions", [](const SongFigures& s) { return s.repeatedOrders; }, true},
        {"lead's mean interval, semitones",
         [](const SongFigures& s) { return s.melody.meanInterval; }, true},
        {"lead's skips (3-7 semitones)", [](const SongFigures& s) { return s.melody.skipShare; },
         true},
        {"lead's steps and repeats (0-2)", [](const SongFigures& s) { return s.melody.stepShare; },
         true},
        {"clash share", [](const SongFigures& s) { return s.melody.clashShare; }, true},
        {"scale fit", [](const SongFigures& s) { return s.melody.scaleFit; }, true},
        {"drum formula share", [](const SongFigures& s) { return s.drums.formulaShare; }, true},
        {"drum bars changed between fills",
         [](const SongFigures& s) { return s.drums.changeShare; }, true},
        {"loudness range, dB", [](const SongFigures& s) { return s.render.levels.rangeDb; }},
        {"opening against the median, dB",
         [](const SongFigures& s) { return s.render.levels.openingDb; }},
    };
    return measures;
}

std::vector<double> Values(const std::vector<const SongFigures*>& songs, const Figure& figure,
                           bool share) {
    std::vector<double> values;
    for (const SongFigures* song : songs) {
        const double v = figure(*song);
        if (!share || v >= 0) values.push_back(v);
    }
    return values;
}

int CountIf(const std::vector<double>& values, const std::function<bool(double)>& test) {
    return static_cast<int>(std::count_if(values.begin(), values.end(), test));
}

std::string Share(int count, std::size_t of) {
    return std::to_string(count) + " of " + std::to_string(of);
}

// "at most `high` in at least 90 % of songs" and a median goal, for shares.
void MedianAndNinety(Printer& p, const std::string& name, const std::vector<double>& values,
                     double medianGoal, bool medianAtMost, double bound, bool boundAtMost) {
    const double median = Median(values);
    p.target(name + ", pack median", Format("%.3f", median),
             std::string(medianAtMost ? "<= " : ">= ") + Format("%.2f", medianGoal),
             medianAtMost ? median <= medianGoal : median >= medianGoal);
    const int within =
        CountIf(values, [&](double v) { return boundAtMost ? v <= bound : v >= bound; });
    p.target(
        name + (boundAtMost ? ", songs at most " : ", songs at least ") + Format("%.2f", bound),
        Share(within, values.size()), ">= 90 %",
        !values.empty() && within * 10 >= static_cast<int>(values.size()) * 9);
}

void Endings(const std::vector<const SongFigures*>& songs, Printer& p) {
    p.section("Endings");
    int loud = 0, cut = 0, aboveHuman = 0;
    std::string cutList;
    std::vector<double> ends;
    for (const SongFigures* song : songs) {
        const LevelFigures& levels = song->render.levels;
        ends.push_back(levels.endDb);
        aboveHuman += levels.endDb > human::kEndDbHigh;
        if (levels.endDb <= kLoudEndDb) continue;
        ++loud;
        if (!levels.endsOnHit) {
            ++cut;
            cutList += song->fileName + " (" + Format("%.1f", levels.endDb) + "), ";
        }
    }
    p.target("songs louder than -30 dBFS in their last 0.5 s", std::to_string(loud), "<= 3",
             loud <= 3);
    p.target("of those, not ending on a hit just struck", std::to_string(cut), "0", cut == 0);
    p.note("median " + Format("%.1f dBFS", Median(ends)) +
           "; above the human p90 of -16.2 dBFS: " + std::to_string(aboveHuman) + " songs");
    if (!cutList.empty()) p.note("cut off: " + cutList);
}

void Development(const std::vector<const SongFigures*>& songs, Printer& p) {
    p.section("Development and dynamics");
    const std::vector<double> spread = Values(songs, Measures()[1].value, false);
    const int dull = CountIf(spread, [](double v) { return v < human::kCentroidSpreadLow; });
    p.target("songs below 374 Hz of centroid spread", std::to_string(dull), "<= 10", dull <= 10);
    p.note("median " + Format("%.0f Hz", Median(spread)) + "; human p10-p90 374-1372 Hz");
    const std::vector<double> repeats = Values(songs, Measures()[4].value, false);
    const int loops = CountIf(repeats, [](double v) { return v > human::kRepeatedOrdersHigh; });
    p.target("songs above 0.51 of repeated order positions", std::to_string(loops), "<= 10",
             loops <= 10);
    p.note("median " + Format("%.2f", Median(repeats)) + "; human p10-p90 0-0.51");
    const std::vector<double> crest = Values(songs, Measures()[2].value, false);
    const int squashed = CountIf(crest, [](double v) { return v < human::kCrestLow; });
    p.target("songs below 11.9 dB of crest factor", std::to_string(squashed), "<= 10",
             squashed <= 10);
    p.note("median " + Format("%.1f dB", Median(crest)) + "; human p10-p90 11.9-17.5 dB");
    const std::vector<double> rms = Values(songs, Measures()[3].value, false);
    const double medianRms = Median(rms);
    p.target("median RMS level", Format("%.1f dBFS", medianRms), "<= -15 dBFS", medianRms <= -15);
    const int louder = CountIf(rms, [](double v) { return v > human::kRmsHigh; });
    p.note("louder than the human p90 of -13.9 dBFS: " + std::to_string(louder) + " songs");
    MedianAndNinety(p, "loudness range (dB)", Values(songs, Measures()[12].value, false), 3.0,
                    false, human::kRangeLow, false);
    p.note("human median 3.7 dB, p10 1.9 dB");
    const std::vector<double> opening = Values(songs, Measures()[13].value, false);
    p.note("first 8 s against the song's median 3 s level: median " +
           Format("%+.1f dB", Median(opening)) + "; human median -2.2 dB");
}

void Melody(const std::vector<const SongFigures*>& songs, Printer& p) {
    p.section("Melody and harmony");
    const std::vector<double> interval = Values(songs, Measures()[5].value, true);
    const int leaping = CountIf(interval, [](double v) { return v > 9; });
    p.target("songs whose lead's mean interval is above 9 semitones", std::to_string(leaping),
             "<= 10", leaping <= 10);
    p.note("median " + Format("%.1f", Median(interval)) +
           "; human p10-p90 0.8-9.3; songs with a lead: " + std::to_string(interval.size()));
    MedianAndNinety(p, "lead's skip share", Values(songs, Measures()[6].value, true), 0.35, true,
                    human::kSkipHigh, true);
    p.note("steps and repeats: median " +
           Format("%.2f", Median(Values(songs, Measures()[7].value, true))) +
           "; human median skips 0.25, steps 0.65");
    MedianAndNinety(p, "clash share", Values(songs, Measures()[8].value, true), 0.05, true,
                    human::kClashHigh, true);
    int faults = 0, withBoth = 0;
    std::string faultList;
    for (const SongFigures* song : songs) {
        if (song->melody.leadKey < 0 || song->melody.bassKey < 0) continue;
        ++withBoth;
        if (!song->melody.keysClash) continue;
        ++faults;
        if (faults <= 6) faultList += song->fileName + ", ";
    }
    p.target("songs whose lead and bass are a semitone or tritone apart in key",
             Share(faults, withBoth), "0", faults == 0);
    p.note("human: 5 of 42" + (faultList.empty() ? std::string() : "; e.g. " + faultList));
    p.note("scale fit of all melodic notes: median " +
           Format("%.2f", Median(Values(songs, Measures()[9].value, true))) +
           "; human median 0.92");
}

void Drums(const std::vector<const SongFigures*>& songs, Printer& p) {
    p.section("Drums");
    MedianAndNinety(p, "share of 4-bar groups on the 3+fill formula",
                    Values(songs, Measures()[10].value, true), 0.10, true, 0.25, true);
    p.note("human p90 0.21");
    p.note("bars 2 and 3 of a group that differ from the bar before: median " +
           Format("%.2f", Median(Values(songs, Measures()[11].value, true))) + "; human 0.79");
    int ab = 0;
    for (const SongFigures* song : songs) ab += song->drums.abGroups > 0;
    p.target("songs with two-bar A-B drum patterns", std::to_string(ab), ">= 1", ab >= 1);
}

void Effects(const std::vector<const SongFigures*>& songs, Printer& p) {
    p.section("Effects: share of notes carrying each (pack p10 / median / p90, human p10-p90)");
    for (std::size_t i = 0; i < static_cast<std::size_t>(Idiom::Count); ++i) {
        std::vector<double> shares;
        for (const SongFigures* song : songs) {
            if (i < song->idiomShares.size()) shares.push_back(song->idiomShares[i]);
        }
        const human::Range range = human::kIdiomShares[i];
        char line[160];
        std::snprintf(
            line, sizeof line, "%-16s %5.1f %% / %5.1f %% / %5.1f %%    human %5.1f-%.1f %%",
            IdiomName(static_cast<Idiom>(i)), 100 * Percentile(shares, 0.1), 100 * Median(shares),
            100 * Percentile(shares, 0.9), 100 * range.low, 100 * range.high);
        p.note(line);
    }
}

const char* KeyName(int tonic) {
    static const char* const kNames[] = {"C",  "Db", "D",  "Eb", "E",  "F",
                                         "F#", "G",  "Ab", "A",  "Bb", "B"};
    return tonic >= 0 && tonic < 12 ? kNames[tonic] : "-";
}

}  // namespace

void SongMeasureTargets(const std::vector<const SongFigures*>& songs, Printer& p) {
    Endings(songs, p);
    Development(songs, p);
    Melody(songs, p);
    Drums(songs, p);
    Effects(songs, p);
}

void PrintSongMeasureLines(const std::vector<const SongFigures*>& songs, std::FILE* out) {
    std::fprintf(
        out, "\n%-38s %6s %3s %5s %5s %6s %4s %4s %4s %4s %5s %5s %-7s %2s %4s %4s %2s %4s %5s\n",
        "file", "end", "hit", "centr", "crest", "rms", "rep", "intv", "skip", "step", "clash",
        "scale", "keys", "ld", "form", "chg", "ab", "rng", "open");
    for (const SongFigures* song : songs) {
        const RenderFigures& r = song->render;
        const MelodyFigures& m = song->melody;
        const std::string keys =
            std::string(KeyName(m.leadKey)) + "/" + KeyName(m.bassKey) + (m.keysClash ? "!" : "");
        std::fprintf(
            out,
            "%-38s %6.1f %3s %5.0f %5.1f %6.1f %4.2f %4.1f %4.2f %4.2f %5.3f %5.2f %-7s %2d "
            "%4.2f %4.2f %2d %4.1f %5.1f\n",
            song->fileName.substr(0, 38).c_str(), r.levels.endDb, r.levels.endsOnHit ? "yes" : "-",
            r.centroidSpread, r.crestDb, r.rmsDb, song->repeatedOrders, m.meanInterval, m.skipShare,
            m.stepShare, m.clashShare, m.scaleFit, keys.c_str(), m.leadChannel,
            song->drums.formulaShare, song->drums.changeShare, song->drums.abGroups,
            r.levels.rangeDb, r.levels.openingDb);
    }
}

void PrintDistributions(const std::vector<const SongFigures*>& songs, std::FILE* out) {
    std::fprintf(out, "\n%-40s %8s %8s %8s %6s\n", "measure", "p10", "median", "p90", "songs");
    for (const Measure& measure : Measures()) {
        const std::vector<double> values = Values(songs, measure.value, measure.isShare);
        std::fprintf(out, "%-40s %8.3f %8.3f %8.3f %6zu\n", measure.name, Percentile(values, 0.1),
                     Median(values), Percentile(values, 0.9), values.size());
    }
    int faults = 0, withBoth = 0;
    for (const SongFigures* song : songs) {
        if (song->melody.leadKey < 0 || song->melody.bassKey < 0) continue;
        ++withBoth;
        faults += song->melody.keysClash;
    }
    std::fprintf(out, "%-40s %d of %d\n", "lead and bass a semitone/tritone apart", faults,
                 withBoth);
    std::fprintf(out, "\neffect: share of notes carrying it\n");
    for (std::size_t i = 0; i < static_cast<std::size_t>(Idiom::Count); ++i) {
        std::vector<double> shares;
        for (const SongFigures* song : songs) {
            if (i < song->idiomShares.size()) shares.push_back(song->idiomShares[i]);
        }
        std::fprintf(out, "%-40s %8.3f %8.3f %8.3f\n", IdiomName(static_cast<Idiom>(i)),
                     Percentile(shares, 0.1), Median(shares), Percentile(shares, 0.9));
    }
}

}  // namespace packreport
