#include "results/export_tables.h"

#include <algorithm>
#include <charconv>

#include "results/number_cells.h"

namespace sf {
namespace {

void AppendFigures(std::string& csv, const Figures& figures) {
    for (const double sum :
         {figures.demand, figures.sales, figures.lostSales, figures.returns, figures.deliveries}) {
        csv += ',';
        AppendCell(csv, sum);
    }
    for (const std::optional<double>& rate :
         {figures.fillRate, figures.cycleServiceLevel, figures.returnRate, figures.bias,
          figures.mae, figures.rmse, figures.alphaMean, figures.betaMean}) {
        csv += ',';
        AppendCell(csv, rate);
    }
    csv += ',' + std::to_string(figures.unstable) + ',' +
           std::to_string(figures.negativeDeliveries) + '\n';
}

}  // namespace

std::string SummaryCsv(const RunFigures& figures) {
    std::string csv =
        "sales_point,demand,sales,lost_sales,returns,deliveries,fill_rate,cycle_service_level,"
        "return_rate,bias,mae,rmse,alpha_mean,beta_mean,unstable,negative_deliveries\n";
    for (std::size_t at = 0; at < figures.salesPoints.size(); ++at) {
        csv += std::to_string(at + 1);
        AppendFigures(csv, figures.salesPoints[at]);
    }
    csv += "all";
    AppendFigures(csv, figures.all);
    return csv;
}

std::string SeriesCsv(const RunSeries& series) {
    std::string csv = "sales_point,period";
    for (const SeriesColumn& column : kSeriesColumns) {
        csv += ',';
        csv += column.name;
    }
    csv += '\n';
    // About 90 characters a row.
    csv.reserve(csv.size() + series.salesPoints.size() *
                                 static_cast<std::size_t>(std::max(series.periodNumber, 0)) * 96);
    // Each row is put together in place and appended whole: the file has some 60,000 of them.
    char row[24 + kSeriesColumns.size() * (kCellRoom + 1)];
    for (std::size_t at = 0; at < series.salesPoints.size(); ++at) {
        const SalesPointSeries& point = series.salesPoints[at];
        for (int t = 1; t <= series.periodNumber; ++t) {
            char* end = std::to_chars(row, row + 11, at + 1).ptr;
            *end++ = ',';
            end = std::to_chars(end, end + 11, t).ptr;
            for (const SeriesColumn& column : kSeriesColumns) {
                *end++ = ',';
                end = WriteCell(end, (point.*column.series).At(t));
            }
            *end++ = '\n';
            csv.append(row, end);
        }
    }
    return csv;
}

std::string TradeoffCsv(const std::vector<TradeoffRow>& rows) {
    std::string csv =
        "tau,fill_rate,cycle_service_level,lost_sales,returns,deliveries,sales,cost\n";
    for (const TradeoffRow& row : rows) {
        AppendCell(csv, row.tau);
        for (const std::optional<double>& value :
             {row.fillRate, row.cycleServiceLevel, std::optional<double>(row.lostSales),
              std::optional<double>(row.returns), std::optional<double>(row.deliveries),
              std::optional<double>(row.sales), row.cost}) {
            csv += ',';
            AppendCell(csv, value);
        }
        csv += '\n';
    }
    return csv;
}

}  // namespace sf
