#include "tools/pack/report/note_events.h"

#include <algorithm>
#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <limits>

namespace packreport {

namespace {

// OpenMPT's own numbering of effects and volume-column commands, which libopenmpt hands out
// as the raw command values whatever the file's format.
enum Command : int {
    kArpeggio = 1,
    kPortaUp = 2,
    kPortaDown = 3,
    kTonePorta = 4,
    kVibrato = 5,
    kTonePortaVolume = 6,
    kVibratoVolume = 7,
    kTremolo = 8,
    kPanning = 9,
    kOffset = 10,
    kVolumeSlide = 11,
    kVolume = 13,
    kRetrigger = 15,
    kModExtended = 19,
    kS3mExtended = 20,
    kKeyOff = 25,
    kFineVibrato = 26,
    kExtraFinePorta = 28,
    kPanningSlide = 29,
};
enum VolumeCommand : int {
    kVolSet = 1,
    kVolPanning = 2,
    kVolSlideUp = 3,
    kVolSlideDown = 4,
    kVolFineUp = 5,
    kVolFineDown = 6,
    kVolVibratoSpeed = 7,
    kVolVibratoDepth = 8,
    kVolPanLeft = 9,
    kVolPanRight = 10,
    kVolTonePorta = 11,
    kVolPortaUp = 12,
    kVolPortaDown = 13,
};
// Rows per second from which 16 rows are too short for a bar (over 200 beats a minute).
constexpr double kTwoRowsPerStep = 14;
constexpr int kNoteCut = 254, kNoteOffValue = 255, kNoteFade = 253;

std::uint16_t Bit(Idiom idiom) {
    return static_cast<std::uint16_t>(1u << static_cast<int>(idiom));
}

struct CellIdioms {
    std::uint16_t idioms = 0;
    bool silences = false;  // cuts the note or sets its volume to 0 on this row
};

CellIdioms IdiomsOf(int effect, int param, int volumeCommand, int volume) {
    CellIdioms cell;
    const int high = param >> 4, low = param & 0x0F;
    switch (effect) {
        case kArpeggio:
            if (param != 0) cell.idioms |= Bit(Idiom::Arpeggio);
            break;
        case kPortaUp:
            cell.idioms |= Bit(Idiom::PortaUp);
            break;
        case kPortaDown:
            cell.idioms |= Bit(Idiom::PortaDown);
            break;
        case kTonePorta:
            cell.idioms |= Bit(Idiom::TonePorta);
            break;
        case kTonePortaVolume:
            cell.idioms |= Bit(Idiom::TonePorta) | Bit(Idiom::VolumeSlide);
            break;
        case kVibrato:
        case kFineVibrato:
            cell.idioms |= Bit(Idiom::Vibrato);
            break;
        case kVibratoVolume:
            cell.idioms |= Bit(Idiom::Vibrato) | Bit(Idiom::VolumeSlide);
            break;
        case kTremolo:
            cell.idioms |= Bit(Idiom::Tremolo);
            break;
        case kPanning:
        case kPanningSlide:
            cell.idioms |= Bit(Idiom::Panning);
            break;
        case kOffset:
            cell.idioms |= Bit(Idiom::SampleOffset);
            break;
        case kVolumeSlide:
            cell.idioms |= Bit(Idiom::VolumeSlide);
            break;
        case kVolume:
            cell.idioms |= Bit(Idiom::SetVolume);
            cell.silences = param == 0;
            break;
        case kRetrigger:
            cell.idioms |= Bit(Idiom::Retrigger);
            break;
        case kKeyOff:
            cell.silences = true;
            break;
        case kExtraFinePorta:
            cell.idioms |= Bit(high == 1 ? Idiom::PortaUp : Idiom::PortaDown);
            break;
        case kModExtended:
            if (high == 1) cell.idioms |= Bit(Idiom::PortaUp);
            if (high == 2) cell.idioms |= Bit(Idiom::PortaDown);
            if (high == 8) cell.idioms |= Bit(Idiom::Panning);
            if (high == 9 && low > 0) cell.idioms |= Bit(Idiom::Retrigger);
            if (high == 0xA || high == 0xB) cell.idioms |= Bit(Idiom::VolumeSlide);
            [[fallthrough]];
        case kS3mExtended:
            if (effect == kS3mExtended && high == 8) cell.idioms |= Bit(Idiom::Panning);
            if (high == 0xC) {
                cell.idioms |= Bit(Idiom::NoteCut);
                cell.silences = true;
            }
            if (high == 0xD && low > 0) cell.idioms |= Bit(Idiom::NoteDelay);
            break;
        default:
            break;
    }
    switch (volumeCommand) {
        case kVolSet:
            cell.idioms |= Bit(Idiom::SetVolume);
            cell.silences = cell.silences || volume == 0;
            break;
        case kVolPanning:
        case kVolPanLeft:
        case kVolPanRight:
            cell.idioms |= Bit(Idiom::Panning);
            break;
        case kVolSlideUp:
        case kVolSlideDown:
        case kVolFineUp:
        case kVolFineDown:
            cell.idioms |= Bit(Idiom::VolumeSlide);
            break;
        case kVolVibratoSpeed:
        case kVolVibratoDepth:
            cell.idioms |= Bit(Idiom::Vibrato);
            break;
        case kVolTonePorta:
            cell.idioms |= Bit(Idiom::TonePorta);
            break;
        case kVolPortaUp:
            cell.idioms |= Bit(Idiom::PortaUp);
            break;
        case kVolPortaDown:
            cell.idioms |= Bit(Idiom::PortaDown);
            break;
        default:
            break;
    }
    return cell;
}

}  // namespace

const char* IdiomName(Idiom idiom) {
    switch (idiom) {
        case Idiom::Arpeggio:
            return "arpeggio";
        case Idiom::PortaUp:
            return "portamento up";
        case Idiom::PortaDown:
            return "portamento down";
        case Idiom::TonePorta:
            return "tone portamento";
        case Idiom::Vibrato:
            return "vibrato";
        case Idiom::Tremolo:
            return "tremolo";
        case Idiom::VolumeSlide:
            return "volume slide";
        case Idiom::SetVolume:
            return "volume set";
        case Idiom::NoteDelay:
            return "note delay";
        case Idiom::NoteCut:
            return "note cut";
        case Idiom::Retrigger:
            return "retrigger";
        case Idiom::SampleOffset:
            return "sample offset";
        case Idiom::Panning:
            return "panning";
        case Idiom::Count:
            break;
    }
    return "?";
}

std::vector<double> IdiomShares(const SongNotes& song) {
    std::vector<double> shares(static_cast<std::size_t>(Idiom::Count), 0.0);
    std::size_t notes = 0;
    for (const ChannelNotes& voice : song.channels) {
        for (const NoteEvent& note : voice.notes) {
            ++notes;
            for (std::size_t i = 0; i < shares.size(); ++i) shares[i] += (note.idioms >> i) & 1u;
        }
    }
    for (double& share : shares) share = notes > 0 ? share / static_cast<double>(notes) : 0;
    return shares;
}

SongNotes ReadNotes(openmpt::module& module, const ModuleSamples& samples, const SongScan& scan,
                    const std::vector<std::optional<double>>& offsets,
                    const std::vector<std::pair<int, int>>& visitedRows, double rowsPerSecond) {
    SongNotes song;
    const int channels = module.get_num_channels();
    song.channels.resize(static_cast<std::size_t>(channels));
    std::vector<bool> drumSample(samples.samples.size(), false);
    for (const ScannedSample& s : scan.samples)
        drumSample[static_cast<std::size_t>(s.index)] = s.drum;
    std::vector<int> instrument(static_cast<std::size_t>(channels), 0);
    std::size_t notesOnEvenRows = 0, notes = 0;
    for (const auto& [order, row] : visitedRows) {
        const int pattern = module.get_order_pattern(order);
        if (pattern < 0 || pattern >= module.get_num_patterns()) continue;
        if (row >= module.get_pattern_num_rows(pattern)) continue;
        const int step = song.steps++;
        song.stepRow.push_back(row);
        song.stepOrder.push_back(order);
        for (int c = 0; c < channels; ++c) {
            auto command = [&](int which) {
                return static_cast<int>(
                    module.get_pattern_row_channel_command(pattern, row, c, which));
            };
            const int note = command(openmpt::module::command_note);
            const int in = command(openmpt::module::command_instrument);
            const int effect = command(openmpt::module::command_effect);
            const int parameter = command(openmpt::module::command_parameter);
            const int volumeCommand = command(openmpt::module::command_volumeffect);
            const int volume = command(openmpt::module::command_volume);
            const CellIdioms cell = IdiomsOf(effect, parameter, volumeCommand, volume);
            ChannelNotes& voice = song.channels[static_cast<std::size_t>(c)];
            if (in > 0) instrument[static_cast<std::size_t>(c)] = in;
            // A tone portamento's note is counted as a new note: it is where the pitch goes.
            if (note >= 1 && note <= 120) {
                if (!voice.notes.empty() && voice.notes.back().endStep > step)
                    voice.notes.back().endStep = step;
                NoteEvent event;
                event.step = step;
                event.note = note;
                event.sample = samples.SampleFor(instrument[static_cast<std::size_t>(c)], note);
                const bool known =
                    event.sample >= 0 && static_cast<std::size_t>(event.sample) < drumSample.size();
                event.drum = known && drumSample[static_cast<std::size_t>(event.sample)];
                double offset = 0;
                if (known && static_cast<std::size_t>(event.sample) < offsets.size() &&
                    offsets[static_cast<std::size_t>(event.sample)])
                    offset = *offsets[static_cast<std::size_t>(event.sample)];
                // OpenMPT numbers C-0 as 1: pitches count from C = 0.
                event.pitch = static_cast<int>(std::lround(note - 1 + offset));
                event.endStep = std::numeric_limits<int>::max();
                if (volumeCommand == kVolSet) event.volume = volume;
                if (effect == kVolume) event.volume = parameter;
                voice.notes.push_back(event);
                ++notes;
                notesOnEvenRows += row % 2 == 0;
            }
            if (voice.notes.empty()) continue;
            NoteEvent& sounding = voice.notes.back();
            if (sounding.endStep <= step) continue;
            sounding.idioms |= cell.idioms;
            const bool released = note == kNoteCut || note == kNoteOffValue || note == kNoteFade;
            const bool cut = (cell.idioms & Bit(Idiom::NoteCut)) != 0;
            // A note cut lets the row's first ticks sound; a release or volume 0 silences it.
            if (released)
                sounding.endStep = step;
            else if (cell.silences)
                sounding.endStep = cut ? step + 1 : step;
        }
    }
    for (ChannelNotes& voice : song.channels) {
        for (NoteEvent& event : voice.notes) event.endStep = std::min(event.endStep, song.steps);
    }
    // A fast song that puts its notes on even rows writes two rows per sixteenth.
    if (rowsPerSecond >= kTwoRowsPerStep && notes > 0 && notesOnEvenRows * 10 >= notes * 9)
        song.rowsPerBar = 32;
    return song;
}

}  // namespace packreport
