#include "tools/pack/report/render_figures.h"

#include <algorithm>
#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <map>
#include <set>

#include "tools/pack/report/brightness.h"

namespace packreport {

namespace {

constexpr int kRate = 44100;
constexpr std::size_t kBlock = 441;  // 10 ms
constexpr double kLimitSeconds = 400;
constexpr float kAudible = 0.001f;

double Db(double power) {
    return 10 * std::log10(std::max(power, 1e-20));
}

// Mean power of the mono envelope's blocks [from, to).
double MeanPower(const std::vector<double>& blockPower, std::size_t from, std::size_t to) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = from; i < std::min(to, blockPower.size()); ++i, ++count)
        sum += blockPower[i];
    return count > 0 ? sum / static_cast<double>(count) : 0;
}

}  // namespace

RenderFigures Render(const std::vector<std::uint8_t>& bytes) {
    RenderFigures figures;
    try {
        openmpt::module module(bytes);
        figures.loaded = true;
        std::vector<float> buffer(2 * kBlock);
        std::vector<double> monoPower;    // per 10 ms block, whole song
        std::vector<double> stereoPower;  // the same, both channels
        BrightnessTracker brightness(kRate);
        double sum = 0;
        float peak = 0;
        std::size_t frames = 0;
        std::map<int, std::size_t> speedTime;
        double rowRateSum = 0;
        std::size_t blocks = 0;
        std::set<std::pair<int, int>> seen;
        int lastOrder = -1, lastRow = -1, lastSpeed = -1;
        std::size_t rows = 0, speedChanges = 0;
        auto visit = [&](int order, int row) {
            if (seen.insert({order, row}).second) figures.visitedRows.push_back({order, row});
        };
        while (frames < kLimitSeconds * kRate) {
            const int order = module.get_current_order();
            const int row = module.get_current_row();
            const int speed = std::max(1, module.get_current_speed());
            if (order != lastOrder || row != lastRow) {
                // Rows passed inside one block are visited too; a new order starts at its top.
                const int from = order == lastOrder && row > lastRow ? lastRow + 1 : 0;
                for (int r = from; r <= row; ++r) {
                    visit(order, r);
                    ++rows;
                }
                if (lastSpeed >= 0 && speed != lastSpeed) ++speedChanges;
                lastSpeed = speed;
                lastOrder = order;
                lastRow = row;
            }
            const std::size_t got = module.read_interleaved_stereo(kRate, kBlock, buffer.data());
            if (got == 0) {
                figures.ended = true;
                break;
            }
            ++speedTime[speed];
            rowRateSum += module.get_current_tempo() / 2.5 / speed;
            ++blocks;
            double blockMono = 0, blockStereo = 0;
            for (std::size_t i = 0; i < got; ++i) {
                const double l = buffer[2 * i], r = buffer[2 * i + 1];
                blockStereo += l * l + r * r;
                peak = std::max({peak, std::fabs(buffer[2 * i]), std::fabs(buffer[2 * i + 1])});
                const double mono = 0.5 * (l + r);
                blockMono += mono * mono;
            }
            sum += blockStereo;
            monoPower.push_back(blockMono / static_cast<double>(got));
            stereoPower.push_back(blockStereo / (2.0 * static_cast<double>(got)));
            brightness.add(buffer.data(), got);
            frames += got;
        }
        figures.seconds = static_cast<double>(frames) / kRate;
        figures.peakDb = 20 * std::log10(std::max(peak, 1e-10f));
        figures.rmsDb = Db(sum / (2.0 * static_cast<double>(std::max<std::size_t>(frames, 1))));
        figures.crestDb = figures.peakDb - figures.rmsDb;
        figures.levels = MeasureLevels(stereoPower);
        figures.centroidSpread = brightness.spread();
        for (std::size_t i = 0; i < std::min<std::size_t>(800, monoPower.size()); ++i) {
            figures.envelope.push_back(std::sqrt(monoPower[i]));
        }
        std::size_t first = 0;
        while (first < monoPower.size() && std::sqrt(monoPower[first]) < kAudible) ++first;
        figures.buildUpDb = Db(MeanPower(monoPower, first + 800, first + 1000)) -
                            Db(MeanPower(monoPower, first, first + 200));
        figures.rowsPerSecond = blocks > 0 ? rowRateSum / static_cast<double>(blocks) : 0;
        std::size_t longest = 0;
        for (const auto& [speed, time] : speedTime) {
            if (time > longest) {
                longest = time;
                figures.mainSpeed = speed;
            }
        }
        figures.speedChangesPerRow =
            rows > 1 ? static_cast<double>(speedChanges) / static_cast<double>(rows - 1) : 0;
    } catch (const std::exception&) {
        figures.loaded = false;
    }
    return figures;
}

}  // namespace packreport
