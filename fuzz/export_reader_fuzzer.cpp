// Any bytes as the files of an export folder, summary.csv, series.csv, tradeoff.csv, next.csv,
// run.json, check.csv and season.csv in this order, each ended by a NUL byte: reading ends in a run
// or in a one-line message, and a run taken writes the folder's files again byte for byte. Anything
// else aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "export_reader/opened_export.h"
#include "results/export_tables.h"
#include "results/run_record.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace {

[[noreturn]] void Fail(const char* problem) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
}

sf::ExportFiles Split(std::string_view bytes) {
    sf::ExportFiles files;
    for (std::string* file : {&files.summary, &files.series, &files.tradeoff, &files.next,
                              &files.runJson, &files.check, &files.season}) {
        const std::size_t end = std::min(bytes.find('\0'), bytes.size());
        file->assign(bytes.substr(0, end));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const sf::ExportFiles files =
        Split(std::string_view(reinterpret_cast<const char*>(data), size));
    sf::OpenedExport run;
    try {
        run = sf::OpenExport(files, sf::NumberLocale{});
    } catch (const sf::RunError& refusal) {
        const std::string_view message = refusal.what();
        if (message.empty() || message.find_first_of("\r\n") != std::string_view::npos) {
            Fail("a refusal that is not one line of text");
        }
        return 0;
    }
    const std::size_t salesPoints = run.results.series.salesPoints.size();
    if (salesPoints < 1 || salesPoints > sf::kMaxSalesPoints) {
        Fail("a run beyond the sales points a run can have");
    }
    if (sf::SummaryCsv(run.results, run.record) != files.summary ||
        sf::SeriesCsv(run.results.series) != files.series ||
        sf::TradeoffCsv(run.results) != files.tradeoff || sf::NextCsv(run.results) != files.next ||
        sf::RunJson(run.results, run.record, run.runJsonForm) != files.runJson ||
        sf::CheckCsv(run.results) != files.check ||
        sf::SeasonCsv(run.results.series) != files.season) {
        Fail("a folder taken whose files its run does not write again");
    }
    return 0;
}
