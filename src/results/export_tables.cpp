#include "results/export_tables.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "results/next_deliveries.h"
#include "results/number_cells.h"
#include "results/summary_columns.h"
#include "results/tradeoff_columns.h"

namespace sf {
namespace {

// The header row: the key columns, then the table's.
template <typename Columns>
std::string HeaderRow(std::string_view keys, const Columns& columns) {
    std::string header(keys);
    for (const auto& column : columns) {
        header += ',';
        header += column.name;
    }
    header += '\n';
    return header;
}

// The table's cells of one row after its keys.
template <typename Columns, typename Row>
void AppendCells(std::string& csv, const Columns& columns, const Row& row) {
    for (const auto& column : columns) {
        csv += ',';
        AppendCell(csv, column.value(row));
    }
    csv += '\n';
}

// A text cell, quoted with its quotes doubled where it holds a delimiter, a quote or a line end.
void AppendText(std::string& csv, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        csv += text;
        return;
    }
    csv += '"';
    for (const char c : text) {
        csv += c;
        if (c == '"') {
            csv += '"';
        }
    }
    csv += '"';
}

// seed, source and run: a drawn run's seed, or the sales history's file name.
std::string RunKeys(const RunRecord& record) {
    std::string keys;
    if (record.inputs.history) {
        keys += ',';
        AppendText(keys, record.inputs.history->name);
    } else {
        keys += std::to_string(record.seed) + ',';
    }
    return keys + ',' + std::to_string(record.run) + ',';
}

}  // namespace

std::string SummaryCsv(const RunResults& results, const RunRecord& record) {
    std::string csv = HeaderRow(
        "seed,source,run,evaluation,sales_point,name,first_period,last_period", kSummaryColumns);
    const std::string runKeys = RunKeys(record);
    for (const Evaluation evaluation : kEvaluations) {
        const EvaluationFigures& figures = results.figures.Of(evaluation);
        std::string stretch = ",";
        if (!figures.stretch.Empty()) {
            stretch =
                std::to_string(figures.stretch.first) + ',' + std::to_string(figures.stretch.last);
        }
        const std::string keys = runKeys + std::string(EvaluationName(evaluation)) + ',';
        for (std::size_t at = 0; at < figures.salesPoints.size(); ++at) {
            const int sp = static_cast<int>(at) + results.series.firstSalesPoint;
            csv += keys + std::to_string(sp) + ',';
            AppendText(csv, results.series.Name(sp));
            csv += ',' + stretch;
            AppendCells(csv, kSummaryColumns, figures.salesPoints[at]);
        }
        for (const auto& [row, word] :
             {std::pair(&figures.sound, "sound"), std::pair(&figures.all, "all")}) {
            csv += keys + word + ',' + word + ',' + stretch;
            AppendCells(csv, kSummaryColumns, *row);
        }
    }
    return csv;
}

std::string SummaryCells(const Figures& figures) {
    std::string cells;
    AppendCells(cells, kSummaryColumns, figures);
    return cells;
}

std::string SeriesCsv(const RunSeries& series) {
    return SeriesHeader() + SeriesRows(series, 1);
}

std::string SeriesHeader() {
    return HeaderRow("sales_point,name,period,date", kSeriesColumns);
}

std::string SeriesRows(const RunSeries& block, int first) {
    std::string csv;
    const int lastRow = block.comingPeriods.Empty() ? block.periodNumber : block.comingPeriods.last;
    // About 110 characters a row.
    csv.reserve(block.salesPoints.size() * static_cast<std::size_t>(std::max(lastRow, 0)) * 128);
    // Each row is put together in place and appended whole: the file has some 60,000 of them.
    char row[32 + kSeriesColumns.size() * (kCellRoom + 1)];
    for (std::size_t at = 0; at < block.salesPoints.size(); ++at) {
        const SalesPointSeries& point = block.salesPoints[at];
        // A sales point without a name is named by its number in the catalogue.
        const std::string number = std::to_string(first + static_cast<int>(at));
        std::string salesPoint = number + ',';
        AppendText(salesPoint,
                   at < block.names.size() && !block.names[at].empty() ? block.names[at] : number);
        salesPoint += ',';
        for (int t = 1; t <= lastRow; ++t) {
            const bool coming = t > block.periodNumber;
            char* end = std::to_chars(row, row + 11, t).ptr;
            *end++ = ',';
            // The date a sales history gives the period; a drawn demand has none.
            const std::string_view date = block.Date(t);
            end = std::copy_n(date.data(), std::min<std::size_t>(date.size(), 16), end);
            for (const SeriesColumn& column : kSeriesColumns) {
                *end++ = ',';
                const auto values = coming ? column.coming : column.series;
                end = WriteCell(end, values != nullptr ? values(point).At(t) : std::nullopt);
            }
            *end++ = '\n';
            csv += salesPoint;
            csv.append(row, end);
        }
    }
    return csv;
}

std::string NextCsv(const RunResults& results) {
    return NextCsv(results, NextDeliveries(results));
}

std::string NextCsv(const RunResults& results, const std::vector<NextDelivery>& rows) {
    const bool earlier = results.form == ExportForm::beforeProposals;
    const std::span<const AnsweredTau> answered =
        std::span(kAnsweredTaus).first(earlier ? kEarlierAnsweredTaus : kAnsweredTaus.size());
    std::string csv = "sales_point,name,period,date,decided_at,forecast,sigma,delivery";
    for (const AnsweredTau& tau : answered) {
        csv += ',';
        csv += tau.column;
    }
    csv += earlier ? ",diverged\n" : ",diverged,proposal,proposal_from\n";
    for (const NextDelivery& row : rows) {
        csv += std::to_string(row.salesPoint) + ',';
        AppendText(csv, results.series.Name(row.salesPoint));
        csv += ',' + std::to_string(row.period) + ',';
        csv += results.series.Date(row.period);
        csv += ',' + std::to_string(row.decidedAt);
        for (const double value : {row.forecast, row.sigma, row.delivery.run}) {
            csv += ',';
            AppendCell(csv, value);
        }
        for (const AnsweredTau& tau : answered) {
            csv += ',';
            AppendCell(csv, row.delivery.*tau.value);
        }
        csv += row.diverged ? ",1" : ",0";
        if (!earlier) {
            csv += ',';
            AppendCell(csv, row.proposal);
            csv += ',';
            csv += ProposalSourceName(row.proposalFrom);
        }
        csv += '\n';
    }
    return csv;
}

std::string CheckCsv(const RunResults& results) {
    if (!results.check) {
        return "";
    }
    const UnseenCheck& check = *results.check;
    std::string csv =
        "answer,tau,sales_point,name,first_period,last_period,demand,sales,lost_sales,returns,"
        "deliveries,fill_rate,cycle_service_level,cost,reached\n";
    const std::string stretch = std::to_string(check.from) + ',' + std::to_string(check.last);
    for (const CheckRow& row : check.rows) {
        csv += row.answer;
        csv += ',';
        AppendCell(csv, row.tau);
        if (row.salesPoint == 0) {
            csv += ",sound,sound,";
        } else {
            csv += ',' + std::to_string(row.salesPoint) + ',';
            AppendText(csv, results.series.Name(row.salesPoint));
            csv += ',';
        }
        csv += stretch;
        const TradeoffRow& figures = row.figures;
        for (const std::optional<double> value :
             {std::optional(figures.demand), std::optional(figures.sales),
              std::optional(figures.lostSales), std::optional(figures.returns),
              std::optional(figures.deliveries), figures.fillRate, figures.cycleServiceLevel,
              figures.cost, row.reached}) {
            csv += ',';
            AppendCell(csv, value);
        }
        csv += '\n';
    }
    return csv;
}

std::string TradeoffCsv(const RunResults& results) {
    std::string csv = HeaderRow("evaluation,tau", kTradeoffColumns);
    for (const Evaluation evaluation : kEvaluations) {
        for (const TradeoffRow& row : results.Answers(evaluation).tradeoff) {
            csv += EvaluationName(evaluation);
            csv += ',';
            AppendCell(csv, row.tau);
            AppendCells(csv, kTradeoffColumns, row);
        }
    }
    return csv;
}

std::string SeasonCsv(const RunSeries& series) {
    if (!series.season.Active()) {
        return "";
    }
    std::string csv = std::string(kSeasonHeader) + '\n';
    for (std::size_t at = 0; at < series.season.indices.size(); ++at) {
        const int sp = static_cast<int>(at) + series.firstSalesPoint;
        const std::vector<double>& indices = series.season.indices[at];
        for (std::size_t k = 0; k < indices.size(); ++k) {
            csv += std::to_string(sp) + ',';
            AppendText(csv, series.Name(sp));
            csv += ',' + std::to_string(k + 1) + ',';
            AppendCell(csv, indices[k]);
            csv += '\n';
        }
    }
    return csv;
}

}  // namespace sf
