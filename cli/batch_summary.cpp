#include "cli/batch_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "cli/note_steadiness.h"
#include "engine/note_frequency.h"
#include "engine/settings_tables.h"
#include "engine/wave_header.h"

namespace sordanel {

namespace {

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

std::string Format(const char* format, const std::optional<double>& value) {
    if (!value) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

}  // namespace

FileSummary SummarizeFile(const std::string& path, const std::string& file,
                          const GenerationSettings& settings) {
    FileSummary summary{
        file,
        kNoteNames[static_cast<std::size_t>(settings.noteIndex)],
        NoteFrequency({settings.noteIndex, settings.c4Index, settings.justIntonation,
                       settings.keyIndex, settings.detune}),
        std::nullopt,
        std::nullopt,
        std::nullopt,
        false,
        {}};
    const std::vector<double> samples = ReadSamples(path);
    double peak = 0;
    for (const double s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    if (peak > 0) {
        summary.peakDbfs = 20 * std::log10(peak / kFullScale);
    }
    // A note that does not hold one pitch has none to claim.
    const Steadiness steadiness = MeasureNote(samples, settings);
    summary.steady = steadiness.steady;
    if (steadiness.steady) {
        summary.measuredHz = steadiness.hz;
        summary.errorCents = 1200 * std::log2(*summary.measuredHz / summary.targetHz);
    } else {
        summary.unmeasured = steadiness.why;
    }
    return summary;
}

std::vector<FileSummary> SummarizeBatch(const BatchRequest& batch, const std::vector<bool>& written,
                                        const GenerationSettings& base) {
    std::vector<FileSummary> files;
    for (std::size_t i = 0; i < batch.items.size(); ++i) {
        if (written[i]) {
            const BatchItem& item = batch.items[i];
            GenerationSettings settings = base;
            settings.noteIndex = item.noteIndex;
            files.push_back(
                SummarizeFile(batch.directory + "/" + item.fileName, item.fileName, settings));
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
    std::snprintf(line, sizeof line, "%-*s  %-4s  %11s  %11s  %11s  %9s  %s\n", fileWidth, "file",
                  "note", "target Hz", "measured Hz", "error cents", "peak dBFS", "steady");
    std::string table = line;
    for (const FileSummary& f : files) {
        const std::string steady = f.steady ? "yes" : "no: " + f.unmeasured;
        std::snprintf(line, sizeof line, "%-*s  %-4s  %11.3f  %11s  %11s  %9s  %s\n", fileWidth,
                      f.file.c_str(), f.note.c_str(), f.targetHz,
                      Format("%.3f", f.measuredHz).c_str(), Format("%+.2f", f.errorCents).c_str(),
                      Format("%.1f", f.peakDbfs).c_str(), steady.c_str());
        table += line;
    }
    return table;
}

nlohmann::json FileJson(const FileSummary& f) {
    nlohmann::json row = {
        {"file", f.file}, {"note", f.note}, {"targetHz", f.targetHz}, {"steady", f.steady}};
    if (f.measuredHz) {
        row["measuredHz"] = *f.measuredHz;
        row["errorCents"] = *f.errorCents;
    } else {
        row["unmeasured"] = f.unmeasured;
    }
    if (f.peakDbfs) {
        row["peakDbfs"] = *f.peakDbfs;
    }
    return row;
}

nlohmann::json SummaryJson(const std::vector<FileSummary>& files) {
    nlohmann::json array = nlohmann::json::array();
    for (const FileSummary& f : files) {
        array.push_back(FileJson(f));
    }
    return array;
}

}  // namespace sordanel
