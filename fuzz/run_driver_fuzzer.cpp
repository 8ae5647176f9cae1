// Random texts in every box, a random model and locale: every run ends in a complete report
// free of overflowed numbers, or in a message that names a box or a sales point and period,
// leaving the last report as it was, and the plain estimation ends the same way to the byte.
// Anything else aborts.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "run/run_driver.h"
#include "runtime/report_file.h"
#include "runtime/text_to_number.h"
#include "state/quiet_observer.h"

namespace {

// Small enough that one input runs in well under a second.
constexpr int kSalesPointLimit = 4;
constexpr int kPeriodLimit = 40;

constexpr std::string_view kEarlierReport = "the report of an earlier run";
constexpr std::string_view kReportHeading = "Parameters of sales points\r\n";

struct NamedLocale {
    std::string_view name;
    sf::NumberLocale locale;
};

// Locales the program meets; the last two have multi-byte separators.
const NamedLocale kLocales[] = {
    {"C", {".", ""}},
    {"en", {".", ","}},
    {"de", {",", "."}},
    {"fr", {",", "\xE2\x80\xAF"}},
    {"ar", {"\xD9\xAB", "\xD9\xAC"}},
};

// How the messages about one box begin: its label, or the sum of the estimation periods.
constexpr std::string_view kBoxMessageStarts[] = {
    "Number of Sales Points: ",
    "Number of Periods: ",
    "# of periods used for estimating initial mu and sigma: ",
    "# of periods used for estimating initial alpha and beta: ",
    "Warm-up period: ",
    "Forecasting horizon: ",
    "Tau (\xCF\x84): ",
    "Lower Limit of ",
    "Upper Limit of ",
    "n: ",
    "\xCF\x83 (sigma): ",
    "The periods for initial mu and sigma, ",
};

// One folder per fuzzing process, removed when the process ends normally.
class ReportFolder {
  public:
    ReportFolder() {
        std::string root =
            (std::filesystem::temp_directory_path() / "sales-forecast-fuzz-XXXXXX").string();
        if (mkdtemp(root.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        root_ = root;
    }
    ~ReportFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ReportFolder(const ReportFolder&) = delete;
    ReportFolder& operator=(const ReportFolder&) = delete;

    std::filesystem::path Report() const { return root_ / "out.txt"; }

  private:
    std::filesystem::path root_;
};

[[noreturn]] void Fail(const char* problem, std::string_view message) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", problem, static_cast<int>(message.size()),
                 message.data());
    std::abort();
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (std::size_t end = bytes.find('\n'); end != std::string_view::npos;
         end = bytes.find('\n')) {
        lines.emplace_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
    lines.emplace_back(bytes);
    return lines;
}

const sf::NumberLocale& LocaleNamed(std::string_view name) {
    for (const NamedLocale& named : kLocales) {
        if (named.name == name) {
            return named.locale;
        }
    }
    return kLocales[0].locale;
}

bool Exceeds(const std::string& text, int limit, const sf::NumberLocale& locale) {
    const sf::IntegerText value = sf::TextToInt16(text, locale);
    return value.status == sf::IntegerTextStatus::ok && value.value > limit;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool NamesABox(std::string_view message) {
    for (std::string_view start : kBoxMessageStarts) {
        if (message.starts_with(start)) {
            return true;
        }
    }
    return false;
}

// The report's line around a position.
std::string_view LineAt(std::string_view report, std::size_t at) {
    const std::size_t start = report.rfind('\n', at);
    const std::size_t first = start == std::string_view::npos ? 0 : start + 1;
    return report.substr(first, report.find('\r', at) - first);
}

void CheckCompleteReport(const std::string& report) {
    if (!report.starts_with(kReportHeading) || !report.ends_with("\r\n")) {
        Fail("a complete run left an incomplete report", report);
    }
    // An overflowed number is written as inf or nan: the run should have stopped instead.
    for (std::string_view written : {"inf", "nan"}) {
        const std::size_t at = report.find(written);
        if (at != std::string::npos) {
            Fail("a complete report holds an overflowed number", LineAt(report, at));
        }
    }
}

// lines: what the run kept of its own report, empty when it kept nothing.
void CheckStoppedRun(const std::string& message, const std::string& report,
                     const std::string& lines, int salesPoints) {
    if (report != kEarlierReport) {
        Fail("a run that did not complete changed the last report", message);
    }
    if (NamesABox(message)) {
        if (!lines.empty()) {
            Fail("a refused box wrote lines", message);
        }
        return;
    }
    int salesPoint = 0;
    int period = 0;
    if (std::sscanf(message.c_str(), "Sales point %d, period %d", &salesPoint, &period) != 2 ||
        salesPoint < 1 || salesPoint > salesPoints || period < 1 || period > sf::kMaxPeriods) {
        Fail("a message that names neither a box nor a sales point and period", message);
    }
    if (!lines.starts_with(kReportHeading)) {
        Fail("a fault part-way lost the lines written before it", message);
    }
}

struct RunOnDisk {
    sf::RunOutcome outcome;
    std::string report;  // the report file after the run
    std::string lines;   // what it kept beside the report, if anything
};

// One run over an earlier report, with no incomplete report beside it.
RunOnDisk RunOnce(sf::RunState& state, sf::UniformSource& source, const sf::RunInputs& inputs,
                  const sf::NumberLocale& locale, const std::filesystem::path& report,
                  sf::RunObserver& observer, const sf::RunOptions& options) {
    const std::filesystem::path incomplete = sf::IncompleteReportPath(report);
    std::filesystem::remove(incomplete);
    std::ofstream(report, std::ios::binary) << kEarlierReport;
    RunOnDisk run;
    run.outcome = sf::ExecuteRun(state, source, inputs, locale, report, observer, options);
    run.report = ReadFile(report);
    run.lines = ReadFile(incomplete);
    return run;
}

}  // namespace

// Line 1 is the model's name, line 2 the locale's, the next twelve lines the boxes in the
// order of RunInputs; a missing line is an empty box. Line 15, where it holds a whole number
// other than 1 up to the periods fuzzed, is the season length.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = SplitLines({reinterpret_cast<const char*>(data), size});
    const auto line = [&](std::size_t at) { return at < lines.size() ? lines[at] : ""; };

    sf::RunInputs inputs;
    inputs.model = sf::DemandModelFromName(line(0)).value_or(sf::DemandModel::loga);
    const sf::NumberLocale& locale = LocaleNamed(line(1));
    std::string* const boxes[] = {
        &inputs.Endpointnumber,
        &inputs.Periodnumber,
        &inputs.periodsforinitialization,
        &inputs.periodsforalphabeta,
        &inputs.warmuptx,
        &inputs.horizontx,
        &inputs.tau_tx,
        &inputs.p1low,
        &inputs.p1up,
        &inputs.p2low,
        &inputs.p2up,
        &inputs.p3,
    };
    for (std::size_t at = 0; at < std::size(boxes); ++at) {
        *boxes[at] = line(at + 2);
    }
    if (Exceeds(inputs.Endpointnumber, kSalesPointLimit, locale) ||
        Exceeds(inputs.Periodnumber, kPeriodLimit, locale)) {
        return -1;  // too slow to fuzz: kept out of the corpus
    }

    sf::RunOptions options;
    const std::string seasonLine = line(14);
    int season = 0;
    const auto [end, error] =
        std::from_chars(seasonLine.data(), seasonLine.data() + seasonLine.size(), season);
    if (error == std::errc() && end == seasonLine.data() + seasonLine.size() && season != 1 &&
        season >= 0 && season <= kPeriodLimit) {
        options.season = season;
    }

    static const ReportFolder folder;
    static const std::unique_ptr<sf::RunState> state = std::make_unique<sf::RunState>();
    sf::UniformSource source;  // fresh, so that an input always runs the same way
    sf::QuietObserver observer;
    const RunOnDisk lanes =
        RunOnce(*state, source, inputs, locale, folder.Report(), observer, options);

    // The plain estimation must give the same outcome and the same bytes.
    static const std::unique_ptr<sf::RunState> plainState = std::make_unique<sf::RunState>();
    sf::UniformSource plainSource;
    const std::filesystem::path plainReport = folder.Report().replace_filename("plain.txt");
    options.estimation = sf::EstimationPath::plain;
    RunOnDisk plain =
        RunOnce(*plainState, plainSource, inputs, locale, plainReport, observer, options);
    // Its message names its own report.
    std::string& plainMessage = plain.outcome.message;
    for (std::size_t at = plainMessage.find(plainReport.string()); at != std::string::npos;
         at = plainMessage.find(plainReport.string())) {
        plainMessage.replace(at, plainReport.string().size(), folder.Report().string());
    }
    if (plain.outcome.completed != lanes.outcome.completed ||
        plainMessage != lanes.outcome.message || plain.report != lanes.report ||
        plain.lines != lanes.lines) {
        Fail("the lanes and the plain estimation differ", lanes.outcome.message);
    }

    if (lanes.outcome.completed) {
        CheckCompleteReport(lanes.report);
        if (!lanes.lines.empty()) {
            Fail("a complete run left an incomplete report beside it", lanes.outcome.message);
        }
    } else {
        CheckStoppedRun(lanes.outcome.message, lanes.report, lanes.lines,
                        sf::TextToInt16(inputs.Endpointnumber, locale).value);
    }
    return 0;
}
