#include "tools/pack/report/drum_figures.h"

#include <map>

namespace packreport {

std::vector<std::vector<std::string>> DrumBars(const SongNotes& song) {
    // Bars are counted from the top of each order position: a section starts with its pattern.
    // Patterns shorter than four bars run on into the next, so their groups span both.
    std::vector<std::vector<std::string>> sections;
    std::vector<int> barOf(static_cast<std::size_t>(song.steps), 0);
    std::vector<int> sectionOf(static_cast<std::size_t>(song.steps), 0);
    int lastOrder = -1;
    int base = 0;  // bars of the section before this order position
    for (int step = 0; step < song.steps; ++step) {
        const int order = song.stepOrder[static_cast<std::size_t>(step)];
        if (order != lastOrder || song.stepRow[static_cast<std::size_t>(step)] == 0) {
            if (sections.empty() || sections.back().size() % 4 == 0) sections.emplace_back();
            base = static_cast<int>(sections.back().size());
            lastOrder = order;
        }
        const int bar = base + song.stepRow[static_cast<std::size_t>(step)] / song.rowsPerBar;
        std::vector<std::string>& bars = sections.back();
        while (static_cast<int>(bars.size()) <= bar) bars.emplace_back();
        barOf[static_cast<std::size_t>(step)] = bar;
        sectionOf[static_cast<std::size_t>(step)] = static_cast<int>(sections.size()) - 1;
    }
    for (std::size_t c = 0; c < song.channels.size(); ++c) {
        for (const NoteEvent& note : song.channels[c].notes) {
            if (!note.drum) continue;
            const std::size_t step = static_cast<std::size_t>(note.step);
            std::string& bar = sections[static_cast<std::size_t>(sectionOf[step])]
                                       [static_cast<std::size_t>(barOf[step])];
            bar += std::to_string(c) + "/" + std::to_string(song.stepRow[step] % song.rowsPerBar) +
                   "/" + std::to_string(note.note) + "/" + std::to_string(note.sample) + "/" +
                   std::to_string(note.volume) + " ";
        }
    }
    return sections;
}

DrumFigures MeasureDrums(const std::vector<std::vector<std::string>>& sections) {
    DrumFigures figures;
    int formula = 0, changed = 0, compared = 0;
    for (const std::vector<std::string>& bars : sections) {
        for (std::size_t first = 0; first + 4 <= bars.size(); first += 4) {
            const std::string* bar = &bars[first];
            if (bar[0].empty() && bar[1].empty() && bar[2].empty() && bar[3].empty()) continue;
            ++figures.groups;
            formula += bar[0] == bar[1] && bar[1] == bar[2] && bar[3] != bar[2];
            figures.abGroups += bar[0] == bar[2] && bar[1] == bar[3] && bar[0] != bar[1];
            for (int i = 1; i <= 2; ++i) {
                ++compared;
                changed += bar[i] != bar[i - 1];
            }
        }
    }
    if (figures.groups > 0) {
        figures.formulaShare = static_cast<double>(formula) / figures.groups;
        figures.changeShare = static_cast<double>(changed) / compared;
    }
    return figures;
}

}  // namespace packreport
