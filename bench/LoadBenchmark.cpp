// Load benchmark: parses and builds the same SVG bytes with our engine and with librsvg in
// one run, prints the time ratio per document (target: ours at least 5x faster) and the
// heap one loaded document of each kind holds.
#include "BenchDocuments.h"
#include "HeapCounter.h"
#include "NullRenderer.h"
#include "RsvgLoader.h"
#include "SVGDocument.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kTargetRatio = 5.0;
const char* const kOurs = "ours";
const char* const kRsvg = "librsvg";

struct Subject {
    bench::BenchDocument document;
    bool oursLoads = false;
    bool rsvgLoads = false;
};

std::string BenchmarkName(const std::string& engine, const std::string& document) {
    return "Load/" + engine + "/" + document;
}

void LoadWithOurs(benchmark::State& state, const std::string* text) {
    // One renderer shared by every document, as the program shares its renderer.
    auto renderer = std::make_shared<bench::NullRenderer>();
    for (auto _ : state) {
        auto document = SVGEngine::SVGDocument::Create(text->c_str(), renderer);
        benchmark::DoNotOptimize(document->Width() + document->Height());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text->size()));
}

void LoadWithRsvg(benchmark::State& state, const std::string* text) {
    for (auto _ : state) {
        bench::RsvgDocument document(*text);
        benchmark::DoNotOptimize(document.Width() + document.Height());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text->size()));
}

// Keeps the usual console output and remembers the processor time per load of every
// benchmark: the median when repetitions were asked for, else the fastest run.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            // Processor time: the machine is shared, and waiting for it is nobody's cost.
            double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            const std::string name = run.run_name.str();
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    median_[name] = seconds;
                continue;
            }
            auto found = fastest_.find(name);
            if (found == fastest_.end() || seconds < found->second)
                fastest_[name] = seconds;
        }
    }

    double SecondsPerLoad(const std::string& name) const {
        if (auto found = median_.find(name); found != median_.end())
            return found->second;
        if (auto found = fastest_.find(name); found != fastest_.end())
            return found->second;
        return std::numeric_limits<double>::quiet_NaN();
    }

  private:
    std::map<std::string, double> median_;
    std::map<std::string, double> fastest_;
};

// Loads each document once with both engines before timing: checks that both accept it,
// warms up librsvg's one-time set-up, and prints the sizes they report.
void CheckDocuments(std::vector<Subject>& subjects) {
    auto renderer = std::make_shared<bench::NullRenderer>();
    std::printf("%-22s %10s %14s %16s\n", "document", "bytes", "ours size", "librsvg size");
    for (Subject& subject : subjects) {
        const std::string& text = subject.document.text;
        char oursSize[32] = "rejected", rsvgSize[32] = "rejected";
        try {
            auto document = SVGEngine::SVGDocument::Create(text.c_str(), renderer);
            std::snprintf(oursSize, sizeof oursSize, "%d x %d", document->Width(),
                          document->Height());
            subject.oursLoads = true;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: our engine rejects it: %s\n", subject.document.name.c_str(),
                         error.what());
        }
        try {
            bench::RsvgDocument document(text);
            std::snprintf(rsvgSize, sizeof rsvgSize, "%g x %g", document.Width(),
                          document.Height());
            subject.rsvgLoads = true;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", subject.document.name.c_str(), error.what());
        }
        std::printf("%-22s %10zu %14s %16s\n", subject.document.name.c_str(), text.size(), oursSize,
                    rsvgSize);
    }
    std::printf("\n");
}

void PrintRatios(const std::vector<Subject>& subjects, const RatioReporter& reporter) {
    std::printf("\nProcessor time per load, librsvg / ours (target >= %.0fx):\n", kTargetRatio);
    std::printf("%-22s %14s %14s %10s\n", "document", "ours", "librsvg", "ratio");
    int below = 0, measured = 0;
    for (const Subject& subject : subjects) {
        const std::string& name = subject.document.name;
        double ours = reporter.SecondsPerLoad(BenchmarkName(kOurs, name));
        double rsvg = reporter.SecondsPerLoad(BenchmarkName(kRsvg, name));
        if (std::isnan(ours) || std::isnan(rsvg)) {
            std::printf("%-22s %14s %14s %10s\n", name.c_str(), "-", "-", "n/a");
            continue;
        }
        double ratio = rsvg / ours;
        ++measured;
        bool met = ratio >= kTargetRatio;
        below += met ? 0 : 1;
        std::printf("%-22s %11.1f us %11.1f us %9.1fx%s\n", name.c_str(), ours * 1e6, rsvg * 1e6,
                    ratio, met ? "" : "  below target");
    }
    std::printf("load ratio: %d of %d document(s) at or above %.0fx\n", measured - below, measured,
                kTargetRatio);
}

void PrintHeapHeld(const std::vector<Subject>& subjects) {
    auto renderer = std::make_shared<bench::NullRenderer>();
    std::printf("\nHeap held by one loaded document (malloc'd bytes and blocks still live after "
                "the load;\nours with the null renderer, whose paths and transforms hold no "
                "data):\n");
    std::printf("%-22s %10s %12s %8s %12s %8s\n", "document", "text bytes", "ours bytes", "blocks",
                "librsvg", "blocks");
    for (const Subject& subject : subjects) {
        const std::string& text = subject.document.text;
        bench::HeapSnapshot ours{-1, -1}, rsvg{-1, -1};
        if (subject.oursLoads) {
            bench::HeapSnapshot before = bench::TakeHeapSnapshot();
            auto document = SVGEngine::SVGDocument::Create(text.c_str(), renderer);
            ours = bench::Difference(before, bench::TakeHeapSnapshot());
        }
        if (subject.rsvgLoads) {
            bench::HeapSnapshot before = bench::TakeHeapSnapshot();
            bench::RsvgDocument document(text);
            rsvg = bench::Difference(before, bench::TakeHeapSnapshot());
        }
        std::printf("%-22s %10zu %12lld %8lld %12lld %8lld\n", subject.document.name.c_str(),
                    text.size(), ours.bytesLive, ours.blocksLive, rsvg.bytesLive, rsvg.blocksLive);
    }
}

// Takes "--svg-folder=PATH" out of the arguments before Google Benchmark reads them.
std::string TakeFolderArgument(int& argc, char** argv) {
    const char* const prefix = "--svg-folder=";
    std::string folder = CORVANE_DEFAULT_SVG_FOLDER;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0)
            folder = argv[i] + std::strlen(prefix);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = TakeFolderArgument(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    std::vector<Subject> subjects;
    for (auto& document : bench::IconDocuments())
        subjects.push_back({std::move(document)});
    subjects.push_back({bench::PictureDocument()});
    subjects.push_back({bench::LargePathDocument()});
    // The program's own pictures, when the source tree has them.
    for (auto& document : bench::DocumentsInFolder(folder))
        subjects.push_back({std::move(document)});

    CheckDocuments(subjects);
    for (const Subject& subject : subjects) {
        const std::string* text = &subject.document.text;
        if (subject.oursLoads)
            benchmark::RegisterBenchmark(BenchmarkName(kOurs, subject.document.name).c_str(),
                                         LoadWithOurs, text)
                ->Unit(benchmark::kMicrosecond);
        if (subject.rsvgLoads)
            benchmark::RegisterBenchmark(BenchmarkName(kRsvg, subject.document.name).c_str(),
                                         LoadWithRsvg, text)
                ->Unit(benchmark::kMicrosecond);
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatios(subjects, reporter);
    PrintHeapHeld(subjects);
    benchmark::Shutdown();
    return 0;
}
