#include "export_reader/series_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "export_reader/export_cells.h"
#include "history/csv_records.h"
#include "outcome/period_outcome.h"
#include "runtime/period_dates.h"
#include "runtime/run_error.h"
#include "state/period_stretches.h"
#include "state/run_state.h"

namespace sf {
namespace {

constexpr std::string_view kFile = "series.csv";
constexpr std::size_t kKeyColumns = 4;  // sales_point, name, period, date
constexpr std::size_t kColumns = kKeyColumns + kSeriesColumns.size();
// The coming periods after P are at most as many as the periods.
constexpr int kMostRows = 2 * kMaxPeriods;

constexpr std::size_t ColumnOf(std::string_view name) {
    for (std::size_t at = 0; at < kSeriesColumns.size(); ++at) {
        if (kSeriesColumns[at].name == name) {
            return at;
        }
    }
    return kSeriesColumns.size();
}

constexpr std::size_t kDemandMean = ColumnOf("demand_mean");
constexpr std::size_t kDemand = ColumnOf("demand");
constexpr std::size_t kForecast = ColumnOf("forecast");
constexpr std::size_t kMad = ColumnOf("mad");
constexpr std::size_t kSigma = ColumnOf("sigma");
constexpr std::size_t kAlpha = ColumnOf("alpha");
constexpr std::size_t kBeta = ColumnOf("beta");
constexpr std::size_t kDelivery = ColumnOf("delivery");
constexpr std::size_t kLostSale = ColumnOf("lost_sale");
constexpr std::size_t kReturned = ColumnOf("returned");
constexpr std::size_t kSales = ColumnOf("sales");
constexpr std::size_t kForecastAsForecast = ColumnOf("forecast_as_forecast");
constexpr std::size_t kSigmaAsForecast = ColumnOf("sigma_as_forecast");
constexpr std::size_t kDeliveryAsForecast = ColumnOf("delivery_as_forecast");
constexpr std::size_t kDecidedAt = ColumnOf("decided_at");
static_assert(kDecidedAt < kSeriesColumns.size(), "every column read is one the export writes");

struct SeriesRow {
    int fileRow = 0;
    std::string name;
    std::string date;
    std::array<std::optional<double>, kSeriesColumns.size()> values;
};
using SalesPointRows = std::vector<SeriesRow>;

std::string_view ColumnName(std::size_t column) {
    return kSeriesColumns[column].name;
}

CellPlace Place(const SeriesRow& row, std::size_t column) {
    return {kFile, row.fileRow, ColumnName(column)};
}

bool Holds(const PeriodStretch& stretch, int period) {
    return period >= stretch.first && period <= stretch.last;
}

// The rows of every sales point, in the order the export writes them.
std::vector<SalesPointRows> ReadRows(std::string_view text, int salesPoints) {
    static const std::vector<std::string_view> header = [] {
        std::vector<std::string_view> names = {"sales_point", "name", "period", "date"};
        for (const SeriesColumn& column : kSeriesColumns) {
            names.push_back(column.name);
        }
        return names;
    }();
    std::vector<SalesPointRows> points;
    bool first = true;
    ForEachCsvRecord(text, ',', {}, [&](const CsvRecord& record) {
        if (first) {
            first = false;
            RequireHeader(kFile, record, header);
            return;
        }
        RequireCellCount(kFile, record, kColumns);
        const int salesPoint = WholeNumber({kFile, record.row, "sales_point"}, record.cells[0]);
        const int period = WholeNumber({kFile, record.row, "period"}, record.cells[2]);
        const bool next = points.empty() || salesPoint != static_cast<int>(points.size());
        if (next &&
            (salesPoint != static_cast<int>(points.size()) + 1 || salesPoint > salesPoints)) {
            RefuseCell({kFile, record.row, "sales_point"},
                       "sales point " + Quoted(record.cells[0]) +
                           " where an export has sales point " +
                           std::to_string(
                               std::min<int>(static_cast<int>(points.size()) + 1, salesPoints)) +
                           " (run.json counts " + std::to_string(salesPoints) + ")");
        }
        if (next) {
            points.emplace_back();
        }
        const int expected = static_cast<int>(points.back().size()) + 1;
        if (period != expected || period > kMostRows) {
            RefuseCell({kFile, record.row, "period"}, "period " + Quoted(record.cells[2]) +
                                                          " where an export has period " +
                                                          std::to_string(expected));
        }
        SeriesRow row{record.row, record.cells[1], record.cells[3], {}};
        for (std::size_t at = 0; at < kSeriesColumns.size(); ++at) {
            row.values[at] =
                OptionalNumber({kFile, record.row, ColumnName(at)}, record.cells[kKeyColumns + at]);
        }
        points.back().push_back(std::move(row));
    });
    return points;
}

// The periods a column of sales point 1 holds values for among 1..P: from the first it holds
// to P; empty (P + 1..P) when it holds none.
PeriodStretch WrittenStretch(const SalesPointRows& rows, std::size_t column, int p) {
    for (int t = 1; t <= p; ++t) {
        if (rows[static_cast<std::size_t>(t - 1)].values[column]) {
            return {t, p};
        }
    }
    return {p + 1, p};
}

// Each period of the rolling stretch and each coming period is decided as the run decides it.
void RequireDecisions(const SalesPointRows& rows, const PeriodStretch& stretch,
                      const SeriesContext& context) {
    for (int t = stretch.first; t <= stretch.last; ++t) {
        const SeriesRow& row = rows[static_cast<std::size_t>(t - 1)];
        RequireSame(Place(row, kDecidedAt), *row.values[kDecidedAt],
                    DecisionPeriod(t, context.horizon));
    }
}

PeriodSeries Values(const SalesPointRows& rows, std::size_t column, const PeriodStretch& stretch) {
    PeriodSeries series{std::max(stretch.first, 1), {}};
    for (int t = stretch.first; t <= stretch.last; ++t) {
        series.values.push_back(*rows[static_cast<std::size_t>(t - 1)].values[column]);
    }
    return series;
}

// The outcome of each period of the rolling stretch from its forecast as known then, as the
// run computed it; the delivery the file holds must be that one.
EvaluatedSeries AsForecast(const SalesPointRows& rows, const PeriodStretch& rolling,
                           const SeriesContext& context) {
    EvaluatedSeries series;
    series.forecast = Values(rows, kForecastAsForecast, rolling);
    series.sigma = Values(rows, kSigmaAsForecast, rolling);
    for (PeriodSeries* outcome :
         {&series.delivery, &series.lostSale, &series.returned, &series.sales}) {
        outcome->first = series.forecast.first;
    }
    for (int t = rolling.first; t <= rolling.last; ++t) {
        const SeriesRow& row = rows[static_cast<std::size_t>(t - 1)];
        const PeriodOutcome<double> outcome =
            OutcomeOfPeriod(*row.values[kForecastAsForecast], *row.values[kSigmaAsForecast],
                            context.tau, *row.values[kDemand]);
        RequireSame(Place(row, kDeliveryAsForecast), *row.values[kDeliveryAsForecast],
                    outcome.delivery);
        series.delivery.values.push_back(outcome.delivery);
        series.lostSale.values.push_back(outcome.lostSale);
        series.returned.values.push_back(outcome.returned);
        series.sales.values.push_back(outcome.sales);
    }
    return series;
}

ComingSeries Coming(const SalesPointRows& rows, const PeriodStretch& coming,
                    const SeriesContext& context) {
    ComingSeries series;
    series.forecast = Values(rows, kForecastAsForecast, coming);
    series.sigma = Values(rows, kSigmaAsForecast, coming);
    series.decidedAt = Values(rows, kDecidedAt, coming);
    series.delivery.first = series.forecast.first;
    for (int t = coming.first; t <= coming.last; ++t) {
        const SeriesRow& row = rows[static_cast<std::size_t>(t - 1)];
        const double delivery = DeliveryOf(*row.values[kForecastAsForecast],
                                           *row.values[kSigmaAsForecast], context.tau);
        RequireSame(Place(row, kDeliveryAsForecast), *row.values[kDeliveryAsForecast], delivery);
        series.delivery.values.push_back(delivery);
    }
    return series;
}

// Where the run wrote what: the periods 1..P, the stretches of its run, and where each column
// is written among 1..P.
struct SeriesLayout {
    int p = 0;
    PeriodStretch everyPeriod;
    PeriodStretch outcome;
    PeriodStretch rolling;
    PeriodStretch constants;
    PeriodStretch coming;
    std::array<PeriodStretch, kSeriesColumns.size()> written;
};

// The layout as sales point 1's rows show it; each other sales point must follow it.
SeriesLayout LayoutOf(const SalesPointRows& firstRows, const SeriesContext& context) {
    SeriesLayout layout;
    int& p = layout.p;
    // Demand is written for the periods 1..P; the coming periods after them have none.
    while (p < static_cast<int>(firstRows.size()) &&
           firstRows[static_cast<std::size_t>(p)].values[kDemand]) {
        ++p;
    }
    layout.everyPeriod = {1, p};
    layout.outcome = WrittenStretch(firstRows, kForecast, p);
    layout.rolling = WrittenStretch(firstRows, kForecastAsForecast, p);
    // The rolling forecast starts after the report's first forecast, at S + A + H + 1 > S, and
    // takes the constants of the periods after S.
    if (!layout.rolling.Empty() &&
        (layout.outcome.Empty() || layout.rolling.first <= layout.outcome.first)) {
        RefuseCell(Place(firstRows[static_cast<std::size_t>(layout.rolling.first - 1)],
                         kForecastAsForecast),
                   "the forecasts as known begin at period " +
                       std::to_string(layout.rolling.first) +
                       ", not after the report's first forecast");
    }
    // The outcome window starts at S; without one no period has constants either.
    layout.constants = ConstantsStretch(layout.outcome.first, p);
    layout.coming = ComingPeriods(p, context.horizon, layout.rolling);
    std::array<PeriodStretch, kSeriesColumns.size()>& written = layout.written;
    written.fill(layout.outcome);
    written[kDemandMean] = WrittenStretch(firstRows, kDemandMean, p).first == 1
                               ? layout.everyPeriod
                               : PeriodStretch{p + 1, p};
    written[kDemand] = layout.everyPeriod;
    written[kAlpha] = written[kBeta] = layout.constants;
    for (const std::size_t column :
         {kForecastAsForecast, kSigmaAsForecast, kDeliveryAsForecast, kDecidedAt}) {
        written[column] = layout.rolling;
    }
    return layout;
}

// Sales point 1's dates of the periods 1..P, and over the coming periods the same continued;
// a folder written before the coming periods were dated leaves them empty.
std::vector<std::string> DatesOf(const SalesPointRows& firstRows, int p) {
    const std::size_t periods = std::min(firstRows.size(), static_cast<std::size_t>(p));
    std::vector<std::string> dates;
    for (std::size_t at = 0; at < periods; ++at) {
        dates.push_back(firstRows[at].date);
    }
    if (std::any_of(firstRows.begin() + static_cast<std::ptrdiff_t>(periods), firstRows.end(),
                    [](const SeriesRow& row) { return !row.date.empty(); })) {
        return ContinuedDates(dates, static_cast<int>(firstRows.size()));
    }
    return dates;
}

// Each sales point's rows as the layout has them: as many, its name on each, the dates, and a
// value in a cell exactly where the run wrote one.
void RequireLayout(const std::vector<SalesPointRows>& points, const SeriesLayout& layout,
                   const std::vector<std::string>& dates) {
    const int rowsEach = std::max(layout.coming.last, layout.p);
    for (std::size_t at = 0; at < points.size(); ++at) {
        const SalesPointRows& rows = points[at];
        if (static_cast<int>(rows.size()) != rowsEach) {
            RefuseCell({kFile, rows.back().fileRow, "period"},
                       "sales point " + std::to_string(at + 1) + " ends at period " +
                           std::to_string(rows.size()) + " where its run wrote " +
                           std::to_string(rowsEach) + " periods");
        }
        for (const SeriesRow& row : rows) {
            const int t = static_cast<int>(&row - rows.data()) + 1;
            if (row.name != rows.front().name) {
                RefuseCell({kFile, row.fileRow, "name"},
                           Quoted(row.name) + " where the rows before name the sales point " +
                               Quoted(rows.front().name));
            }
            const std::size_t at = static_cast<std::size_t>(t - 1);
            const std::string date = at < dates.size() ? dates[at] : "";
            if (row.date != date) {
                RefuseCell(
                    {kFile, row.fileRow, "date"},
                    Quoted(row.date) + (t <= layout.p ? " where sales point 1 has " + Quoted(date)
                                        : date.empty()
                                            ? std::string(" where the coming periods have no date")
                                            : " where the dates continue with " + Quoted(date)));
            }
            for (std::size_t column = 0; column < kSeriesColumns.size(); ++column) {
                const bool expected = t <= layout.p ? Holds(layout.written[column], t)
                                                    : kSeriesColumns[column].coming != nullptr;
                if (row.values[column].has_value() != expected) {
                    RefuseCell(Place(row, column), expected ? "empty where the run wrote a value"
                                                            : "a value where the run wrote none");
                }
            }
        }
    }
}

SalesPointSeries SalesPointOf(const SalesPointRows& rows, const SeriesLayout& layout,
                              const SeriesContext& context) {
    SalesPointSeries point;
    point.demandMean = Values(rows, kDemandMean, layout.written[kDemandMean]);
    point.demand = Values(rows, kDemand, layout.everyPeriod);
    point.mad = Values(rows, kMad, layout.outcome);
    point.alpha = Values(rows, kAlpha, layout.constants);
    point.beta = Values(rows, kBeta, layout.constants);
    EvaluatedSeries& reported = point.asReported;
    reported.forecast = Values(rows, kForecast, layout.outcome);
    reported.sigma = Values(rows, kSigma, layout.outcome);
    reported.delivery = Values(rows, kDelivery, layout.outcome);
    reported.lostSale = Values(rows, kLostSale, layout.outcome);
    reported.returned = Values(rows, kReturned, layout.outcome);
    reported.sales = Values(rows, kSales, layout.outcome);
    point.asForecast = AsForecast(rows, layout.rolling, context);
    RequireDecisions(rows, layout.rolling, context);
    RequireDecisions(rows, layout.coming, context);
    point.decidedAt = Values(rows, kDecidedAt, layout.rolling);
    point.coming = Coming(rows, layout.coming, context);
    return point;
}

}  // namespace

RunSeries ReadSeriesTable(std::string_view text, const SeriesContext& context) {
    const std::vector<SalesPointRows> points = ReadRows(text, context.salesPoints);
    RunSeries series;
    series.horizon = context.horizon;
    series.tau = context.tau;
    series.salesPoints.resize(static_cast<std::size_t>(context.salesPoints));
    if (points.empty()) {
        return series;  // a run of no periods: nothing was written
    }
    if (points.size() != series.salesPoints.size()) {
        RefuseCell({kFile, points.back().back().fileRow, "sales_point"},
                   "the last sales point is " + std::to_string(points.size()) +
                       " where run.json counts " + std::to_string(context.salesPoints));
    }
    const SalesPointRows& firstRows = points.front();
    const SeriesLayout layout = LayoutOf(firstRows, context);
    series.dates = DatesOf(firstRows, layout.p);
    RequireLayout(points, layout, series.dates);
    series.periodNumber = layout.p;
    series.outcomeWindow = layout.outcome;
    series.rollingStretch = layout.rolling;
    series.comingPeriods = layout.coming;
    if (std::ranges::all_of(series.dates, [](const std::string& date) { return date.empty(); })) {
        series.dates.clear();
    }
    for (std::size_t at = 0; at < points.size(); ++at) {
        // A sales point without a name of its own is written by its number.
        const std::string& name = points[at].front().name;
        series.names.push_back(name == std::to_string(at + 1) ? "" : name);
        series.salesPoints[at] = SalesPointOf(points[at], layout, context);
    }
    if (std::ranges::all_of(series.names, [](const std::string& name) { return name.empty(); })) {
        series.names.clear();
    }
    return series;
}

}  // namespace sf
