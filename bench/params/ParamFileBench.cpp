// Reading every key of a full hardware text file: the indexed reader (the file parsed once) against
// a baseline that does for each key what the platform's profile functions do (open the file, scan
// it line by line from the start for the section and then the key, close it). Both apply the same
// matching rules and must give the same values. Also measures writing the whole file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "HardwareTextSample.h"
#include "files/CParamFile.h"
#include "files/ParamIndex.h"

namespace {

struct Sample {
    std::filesystem::path folder;
    std::string path;
    std::vector<SampleKey> keys;
};

const Sample& TheSample() {
    static const Sample sample = [] {
        Sample s;
        s.folder = std::filesystem::temp_directory_path() /
                   ("bench-params-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(s.folder);
        s.path = (s.folder / "GXXX_C000.hwt").string();
        s.keys = WriteHardwareTextSample(s.path);
        return s;
    }();
    return sample;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// One look-up the way the platform's profile reader does it: a fresh open and scan per key.
std::optional<std::string> ScanForKey(const std::string& path, std::string_view section,
                                      std::string_view key) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        return std::nullopt;
    }
    section = ParamIndex::TrimBlanks(section);
    key = ParamIndex::TrimBlanks(key);
    std::optional<std::string> value;
    bool inSection = false;
    char buffer[1024];  // the sample's lines are far shorter
    bool firstLine = true;
    while (!value && std::fgets(buffer, sizeof buffer, file) != nullptr) {
        std::string_view line(buffer);
        if (firstLine && line.starts_with("\xEF\xBB\xBF")) {
            line.remove_prefix(3);
        }
        firstLine = false;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        line = ParamIndex::TrimBlanks(line);
        if (!line.empty() && line.front() == '[') {
            std::string_view name = line.substr(1);
            inSection = SameText(ParamIndex::TrimBlanks(name.substr(0, name.find(']'))), section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            SameText(ParamIndex::TrimBlanks(line.substr(0, equals)), key)) {
            value = std::string(ParamIndex::TrimBlanks(line.substr(equals + 1)).substr(0, 511));
        }
    }
    std::fclose(file);
    return value;
}

bool ReadersAgree(benchmark::State& state, const Sample& sample) {
    if (sample.keys.empty()) {
        state.SkipWithError("the sample file could not be written");
        return false;
    }
    CParamFile file(sample.path);
    for (const SampleKey& k : sample.keys) {
        std::int32_t indexed = -1;
        const std::optional<std::string> scanned = ScanForKey(sample.path, k.section, k.key);
        if (!file.ReadItem(k.section, k.key, indexed) || !scanned ||
            ParamIndex::LeadingDecimal(ParamIndex::ValueBeforeComment(*scanned)) != indexed ||
            indexed != k.value) {
            state.SkipWithError(("readers disagree on " + k.section + "/" + k.key).c_str());
            return false;
        }
    }
    return true;
}

void SetCounters(benchmark::State& state, const Sample& sample) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(sample.keys.size()));
    state.counters["keys"] = static_cast<double>(sample.keys.size());
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(sample.path));
}

void BM_ReadAllKeys_Indexed(benchmark::State& state) {
    const Sample& sample = TheSample();
    if (!ReadersAgree(state, sample)) {
        return;
    }
    for (auto _ : state) {
        CParamFile file(sample.path);  // a fresh object per load: the parse is part of the cost
        std::int64_t sum = 0;
        for (const SampleKey& k : sample.keys) {
            std::int32_t value = 0;
            file.ReadItem(k.section, k.key, value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetCounters(state, sample);
}
BENCHMARK(BM_ReadAllKeys_Indexed)->Unit(benchmark::kMicrosecond);

void BM_ReadAllKeys_ScanPerKey(benchmark::State& state) {
    const Sample& sample = TheSample();
    if (!ReadersAgree(state, sample)) {
        return;
    }
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (const SampleKey& k : sample.keys) {
            const std::optional<std::string> value = ScanForKey(sample.path, k.section, k.key);
            sum += value ? ParamIndex::LeadingDecimal(ParamIndex::ValueBeforeComment(*value)) : 0;
        }
        benchmark::DoNotOptimize(sum);
    }
    SetCounters(state, sample);
}
BENCHMARK(BM_ReadAllKeys_ScanPerKey)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriteWholeFile(benchmark::State& state) {
    const Sample& sample = TheSample();
    const std::string path = (sample.folder / "written.hwt").string();
    for (auto _ : state) {
        if (WriteHardwareTextSample(path).empty()) {
            state.SkipWithError("the file could not be written");
            return;
        }
    }
    SetCounters(state, sample);
}
BENCHMARK(BM_WriteWholeFile)->Unit(benchmark::kMicrosecond);

// Prints the runs as usual and, at the end, the indexed reader's speed-up over the per-key scan
// and its cost per key against the USB link's 1 ms report interval.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Plain text: the figures are meant to be copied into notes and reports.
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred) {
                m_seconds[run.benchmark_name()] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Summarise() const {
        const auto indexed = m_seconds.find("BM_ReadAllKeys_Indexed");
        const auto scanned = m_seconds.find("BM_ReadAllKeys_ScanPerKey/iterations:3");
        if (indexed == m_seconds.end() || scanned == m_seconds.end()) {
            return;
        }
        const double keys = static_cast<double>(TheSample().keys.size());
        std::printf(
            "\nWhole file (%.0f keys): indexed %.1f us, per-key scan %.1f ms; "
            "indexed is %.0f times faster.\n",
            keys, indexed->second * 1e6, scanned->second * 1e3, scanned->second / indexed->second);
        std::printf(
            "Per key: indexed %.3f us, that is %.5f of a 1 ms full-speed USB report "
            "interval.\n",
            indexed->second * 1e6 / keys, indexed->second / keys / 1e-3);
    }

  private:
    std::map<std::string, double> m_seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.Summarise();
    benchmark::Shutdown();
    std::error_code error;
    std::filesystem::remove_all(TheSample().folder, error);
    return 0;
}
