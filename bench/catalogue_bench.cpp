// A catalogue run on synthetic daily demand shaped like a large retailer's sales export: most
// articles sell on few days, with a weekly rhythm. Prints sales points per second per core at
// H = 0 and H = 1, the time projected for 30,490 articles by 1,941 days, the scaling from one
// job to two, the time of a sales point run again alone, how soon a stop ends the run, and the
// peak memory, and the period steps a second to set beside the full-size run's.
// SF_CATALOGUE_ARTICLES sets the sample (default 1,000) and SF_CATALOGUE_SCALING_ARTICLES the part
// of it timed at H = 0 and with one job (default 200), so that the default stays within two minutes
// on two cores.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <thread>

#include "run/catalogue_run.h"
#include "state/quiet_observer.h"
#include "state/run_measures.h"

namespace {

constexpr int kDays = 1941;
constexpr int kWholeCatalogue = 30490;

int FromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

// Intermittent demand: an article sells on a share of days, more at the weekend, with a level
// that differs from article to article; a fixed seed keeps the sample the same run to run.
sf::SalesHistory RetailSample(int articles) {
    sf::SalesHistory history;
    history.name = "retail-sample";
    history.salesPoints = articles;
    history.periods = kDays;
    std::vector<double> demand;
    demand.reserve(static_cast<std::size_t>(articles) * kDays);
    std::mt19937 random(1941);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    for (int article = 0; article < articles; ++article) {
        const double sellingDays = 0.05 + 0.6 * share(random) * share(random);
        const double level = 1.0 + 4.0 * share(random);
        for (int day = 1; day <= kDays; ++day) {
            const double weekly = day % 7 == 0 || day % 7 == 6 ? 1.6 : 1.0;
            const bool sells = share(random) < sellingDays * weekly;
            demand.push_back(sells ? std::floor(1.0 + level * weekly * share(random)) : 0.0);
        }
    }
    history.demand = std::move(demand);
    return history;
}

sf::RunInputs Inputs(const sf::SalesHistory& history, int horizon) {
    sf::RunInputs inputs;
    inputs.periodsforinitialization = "28";
    inputs.periodsforalphabeta = "56";
    inputs.warmuptx = "0";
    inputs.horizontx = std::to_string(horizon);
    inputs.tau_tx = "1";
    inputs.history = history;
    return inputs;
}

// Sales points a second of wall time, and per second of processor time (all threads): on a
// shared machine the second is what a core gives.
struct Rates {
    double wall = 0.0;
    double processor = 0.0;
};

Rates Rate(const sf::SalesHistory& history, int horizon, int jobs) {
    sf::QuietObserver quiet;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t processorStart = std::clock();
    const sf::CatalogueOutcome outcome =
        sf::ExecuteCatalogueRun(Inputs(history, horizon), sf::NumberLocale{}, quiet,
                                sf::RunOptions{}, sf::ResultsRequest{}, jobs);
    const double processor = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.completed) {
        std::fprintf(stderr, "catalogue_bench: %s\n", outcome.message.c_str());
        std::exit(1);
    }
    return {history.salesPoints / seconds, history.salesPoints / processor};
}

// The window's selection on its Sales points tab: one sales point run again alone, in ms.
double AloneMilliseconds(const sf::SalesHistory& history) {
    sf::QuietObserver quiet;
    const sf::RunInputs inputs = Inputs(history, 1);
    const auto start = std::chrono::steady_clock::now();
    constexpr int kSelections = 5;
    for (int k = 1; k <= kSelections; ++k) {
        const int salesPoint = 1 + (k - 1) * (history.salesPoints - 1) / kSelections;
        if (!sf::RunSalesPointAlone(inputs, sf::NumberLocale{}, quiet, sf::RunOptions{}, salesPoint)
                 .completed) {
            std::fprintf(stderr, "catalogue_bench: sales point %d alone failed\n", salesPoint);
            std::exit(1);
        }
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
               .count() /
           kSelections;
}

// The period steps of a sales point at H = 1 (one recursion through one period inside one
// criterion evaluation, as the full-size run counts them), the mean over every tenth sales
// point of the part, each run alone: times the rate, the catalogue's steps a second.
double StepsPerSalesPoint(const sf::SalesHistory& history) {
    sf::QuietObserver quiet;
    const sf::RunInputs inputs = Inputs(history, 1);
    double steps = 0.0;
    int counted = 0;
    for (int salesPoint = 1; salesPoint <= history.salesPoints; salesPoint += 10) {
        sf::RunMeasures measures;
        sf::RunOptions options;
        options.measures = &measures;
        if (!sf::RunSalesPointAlone(inputs, sf::NumberLocale{}, quiet, options, salesPoint)
                 .completed) {
            std::fprintf(stderr, "catalogue_bench: sales point %d alone failed\n", salesPoint);
            std::exit(1);
        }
        steps += static_cast<double>(measures.divisions.load());
        ++counted;
    }
    return steps / counted;
}

// A front end that asks to stop once the run has gone on for a while.
class StoppingObserver : public sf::QuietObserver {
  public:
    explicit StoppingObserver(std::chrono::steady_clock::time_point at) : at_(at) {}
    bool StopRequested() const override { return std::chrono::steady_clock::now() >= at_; }

  private:
    std::chrono::steady_clock::time_point at_;
};

// From the stop asked for, 2 s into the run, to the catalogue run returning, in ms.
double StopMilliseconds(const sf::SalesHistory& history, int jobs) {
    const auto stopAt = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    StoppingObserver stopping(stopAt);
    const sf::CatalogueOutcome outcome =
        sf::ExecuteCatalogueRun(Inputs(history, 1), sf::NumberLocale{}, stopping, sf::RunOptions{},
                                sf::ResultsRequest{}, jobs);
    if (outcome.completed) {
        return 0.0;  // finished before the stop
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - stopAt)
        .count();
}

sf::SalesHistory FirstArticles(const sf::SalesHistory& history, int articles) {
    sf::SalesHistory part = history;
    part.salesPoints = articles;
    part.demand =
        std::vector<double>(history.demand.begin(),
                            history.demand.begin() + static_cast<std::ptrdiff_t>(articles) * kDays);
    return part;
}

}  // namespace

int main() {
    const int articles = FromEnvironment("SF_CATALOGUE_ARTICLES", 1000);
    const int scaling = std::min(articles, FromEnvironment("SF_CATALOGUE_SCALING_ARTICLES", 200));
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const sf::SalesHistory sample = RetailSample(articles);
    const sf::SalesHistory part = FirstArticles(sample, scaling);
    std::printf("catalogue sample: %d articles x %d days (%d for H = 0 and one job), %d cores\n",
                articles, kDays, scaling, cores);
    const Rates h1 = Rate(sample, 1, cores);
    const Rates h0 = Rate(part, 0, cores);
    const Rates h1One = Rate(part, 1, 1);
    const Rates h1All = Rate(part, 1, cores);
    std::printf("H = 0: %.2f sales points a second per core (%.2f per processor second)\n",
                h0.wall / cores, h0.processor);
    std::printf("H = 1: %.2f sales points a second per core (%.2f per processor second)\n",
                h1.wall / cores, h1.processor);
    std::printf(
        "projected for %d x %d at H = 1 on %d cores: %.1f minutes (%.1f with every core "
        "to itself)\n",
        kWholeCatalogue, kDays, cores, kWholeCatalogue / h1.wall / 60.0,
        kWholeCatalogue / (h1.processor * cores) / 60.0);
    std::printf("scaling from 1 to %d jobs (H = 1, %d articles): %.2fx\n", cores, scaling,
                h1All.wall / h1One.wall);
    const double steps = StepsPerSalesPoint(part);
    std::printf(
        "period steps at H = 1: %.1f million a sales point (every tenth of the %d), %.2f "
        "billion a processor second\n",
        steps / 1e6, scaling, steps * h1.processor / 1e9);
    std::printf("a sales point run again alone (the window's selection): %.0f ms\n",
                AloneMilliseconds(sample));
    std::printf("stopped 2 s into the run, it returned %.0f ms later\n",
                StopMilliseconds(sample, cores));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.0f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
