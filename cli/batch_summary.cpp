#include "cli/batch_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>

#include "cli/pitch_estimate.h"
#include "engine/note_frequency.h"
#include "engine/settings_tables.h"
#include "engine/wave_header.h"

namespace sordanel {

namespace {

constexpr double kSampleRate = 44100;
constexpr double kFullScale = 32767;

// The samples of a WAVE file this program wrote: the fixed header, then 16-bit little-endian
// values.
std::vector<double> ReadSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    std::vector<double> samples;
    for (std::size_t at = kWaveHeaderBytes; at + 1 < bytes.size(); at += 2) {
        const auto low = static_cast<std::uint8_t>(bytes[at]);
        const auto high = static_cast<std::uint8_t>(bytes[at + 1]);
        samples.push_back(static_cast<std::int16_t>(low | (high << 8)));
    }
    return samples;
}

// Where the bow has finished its attack and not begun its release, with a margin for the
// string to settle; the middle of the note when the envelope leaves little of that.
std::span<const double> SteadyPart(const std::vector<double>& samples,
                                   const GenerationSettings& settings) {
    constexpr double kSettle = 0.05;
    const auto size = static_cast<double>(samples.size());
    double from = (settings.t1Ratio + kSettle) * size;
    double to = (1.0 - settings.t2Ratio - kSettle) * size;
    if (to - from < 0.3 * size) {
        from = 0.3 * size;
        to = 0.6 * size;
    }
    return std::span(samples).subspan(static_cast<std::size_t>(from),
                                      static_cast<std::size_t>(to - from));
}

FileSummary Summarize(const BatchItem& item, const std::string& directory,
                      const GenerationSettings& settings) {
    FileSummary summary{item.fileName,
                        kNoteNames[static_cast<std::size_t>(item.noteIndex)],
                        NoteFrequency({item.noteIndex, settings.c4Index, settings.justIntonation,
                                       settings.keyIndex, settings.detune}),
                        std::nullopt,
                        std::nullopt,
                        std::nullopt,
                        {}};
    const std::vector<double> samples = ReadSamples(directory + "/" + item.fileName);
    double peak = 0;
    for (const double s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    if (peak > 0) {
        summary.peakDbfs = 20 * std::log10(peak / kFullScale);
    }
    const PitchReading reading = EstimatePitch(SteadyPart(samples, settings), kSampleRate);
    summary.measuredHz = reading.hz;
    summary.unmeasured = reading.unmeasured;
    if (summary.measuredHz) {
        summary.errorCents = 1200 * std::log2(*summary.measuredHz / summary.targetHz);
    }
    return summary;
}

std::string Format(const char* format, const std::optional<double>& value) {
    if (!value) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

}  // namespace

std::vector<FileSummary> SummarizeBatch(const BatchRequest& batch, const std::vector<bool>& written,
                                        const GenerationSettings& base) {
    std::vector<FileSummary> files;
    for (std::size_t i = 0; i < batch.items.size(); ++i) {
        if (written[i]) {
            files.push_back(Summarize(batch.items[i], batch.directory, base));
        }
    }
    return files;
}

std::string SummaryTable(const std::vector<FileSummary>& files) {
    std::size_t width = 4;
    for (const FileSummary& f : files) {
        width = std::max(width, f.file.size());
    }
    const int fileWidth = static_cast<int>(width);
    char line[512];
    std::snprintf(line, sizeof line, "%-*s  %-4s  %11s  %11s  %11s  %9s\n", fileWidth, "file",
                  "note", "target Hz", "measured Hz", "error cents", "peak dBFS");
    std::string table = line;
    for (const FileSummary& f : files) {
        std::snprintf(line, sizeof line, "%-*s  %-4s  %11.3f  %11s  %11s  %9s\n", fileWidth,
                      f.file.c_str(), f.note.c_str(), f.targetHz,
                      f.measuredHz ? Format("%.3f", f.measuredHz).c_str() : f.unmeasured.c_str(),
                      Format("%+.2f", f.errorCents).c_str(), Format("%.1f", f.peakDbfs).c_str());
        table += line;
    }
    return table;
}

nlohmann::json SummaryJson(const std::vector<FileSummary>& files) {
    nlohmann::json array = nlohmann::json::array();
    for (const FileSummary& f : files) {
        nlohmann::json row = {{"file", f.file}, {"note", f.note}, {"targetHz", f.targetHz}};
        if (f.measuredHz) {
            row["measuredHz"] = *f.measuredHz;
            row["errorCents"] = *f.errorCents;
        } else {
            row["unmeasured"] = f.unmeasured;
        }
        if (f.peakDbfs) {
            row["peakDbfs"] = *f.peakDbfs;
        }
        array.push_back(std::move(row));
    }
    return array;
}

}  // namespace sordanel
