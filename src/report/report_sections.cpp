#include "report/report_sections.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <future>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/cell_formats.h"
#include "runtime/number_text.h"
#include "runtime/print_line.h"
#include "runtime/rounding.h"

namespace sf {
namespace {

enum class CellFormat { whole, twoDecimalCell, twoDecimalNumber };

void FormatCell(std::string& cell, double value, CellFormat format, const NumberLocale& locale) {
    cell.clear();
    switch (format) {
        case CellFormat::whole:
            AppendWholeCell(cell, value);
            break;
        case CellFormat::twoDecimalCell:
            AppendTwoDecimalCell(cell, value, locale);
            break;
        case CellFormat::twoDecimalNumber:
            AppendTwoDecimalNumber(cell, value, locale);
            break;
    }
}

// Appends the row of a matrix section for one period: the cells of sales points 1..N, each
// after one space; cell ends with the last cell's text.
void AppendMatrixRow(const RunState& state, const Matrix& matrix, int period, CellFormat format,
                     const NumberLocale& locale, std::string& line, std::string& cell) {
    for (int salesPoint = 1; salesPoint <= state.salesPointCount; ++salesPoint) {
        FormatCell(cell, matrix(salesPoint, period), format, locale);
        line += ' ';
        line += cell;
    }
}

// One row per period, written without the space before the first cell.
void WriteMatrixRows(RunState& state, const Matrix& matrix, CellFormat format, ReportFile& report,
                     const NumberLocale& locale) {
    const int lastPeriod = state.periodNumber;
    for (state.period = 1; state.period <= lastPeriod; ++state.period) {
        state.lineText.clear();
        AppendMatrixRow(state, matrix, state.period, format, locale, state.lineText,
                        state.cellText);
        state.salesPoint = static_cast<std::int16_t>(state.salesPointCount + 1);
        report.WriteLine(std::string_view(state.lineText).substr(1));
    }
}

// The rows of a matrix section built apart from the report, so that a second thread can build
// some sections while the first writes others.
struct MatrixRows {
    std::string text;                 // each row's line with its leading space, one after another
    std::vector<std::size_t> starts;  // where each row begins, and the end
    std::string lastCell;
};

MatrixRows BuildMatrixRows(const RunState& state, const Matrix& matrix, CellFormat format,
                           const NumberLocale& locale) {
    MatrixRows rows;
    // Room for the widest usual cells, so that the text is never moved as it grows.
    rows.text.reserve(std::size_t{8} * state.periodNumber * state.salesPointCount);
    rows.starts.push_back(0);
    for (int period = 1; period <= state.periodNumber; ++period) {
        AppendMatrixRow(state, matrix, period, format, locale, rows.text, rows.lastCell);
        rows.starts.push_back(rows.text.size());
    }
    return rows;
}

// Writes the rows as WriteMatrixRows writes them and leaves the counters and texts as it does.
void WriteBuiltRows(RunState& state, const MatrixRows& rows, ReportFile& report) {
    const std::string_view text = rows.text;
    for (std::size_t row = 0; row + 1 < rows.starts.size(); ++row) {
        const std::string_view line =
            text.substr(rows.starts[row], rows.starts[row + 1] - rows.starts[row]);
        report.WriteLine(line.substr(1));
        if (row + 2 == rows.starts.size()) {
            state.lineText = line;
        }
    }
    state.period = static_cast<std::int16_t>(state.periodNumber + 1);
    if (state.periodNumber >= 1) {
        state.salesPoint = static_cast<std::int16_t>(state.salesPointCount + 1);
        // Without sales points no cell was formatted, so the last cell's text stays.
        if (state.salesPointCount >= 1) {
            state.cellText = rows.lastCell;
        }
    }
}

// The sales point's number, then its parameters, one print zone each.
void WriteParameterLine(ReportFile& report, const NumberLocale& locale, int salesPoint,
                        std::initializer_list<double> parameters) {
    PrintLine line;
    line.Append(NumberText(salesPoint, locale));
    for (double parameter : parameters) {
        line.AdvanceToNextZone();
        line.Append(NumberText(parameter, locale));
    }
    report.WriteLine(line.Text());
}

// A row of the lost-sale table up to its first sum: the sales point's number and its zone.
PrintLine NumberedRow(int salesPoint, const NumberLocale& locale) {
    PrintLine row;
    row.Append(NumberText(salesPoint, locale));
    row.AdvanceToNextZone();
    return row;
}

void WriteLostSaleTable(RunState& state, ReportFile& report, const NumberLocale& locale) {
    report.WriteLine(LostSaleHeading());

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        PrintLine row = NumberedRow(sp, locale);
        for (double item : {state.lostSaleSum[sp], state.returnedSum[sp]}) {
            row.Append(NumberText(item, locale));
            row.AdvanceToNextZone();
        }
        row.Append(NumberText(state.salesSum[sp], locale));
        report.WriteLine(row.Text());
    }
}

void WriteTotalLine(std::string_view label, double total, ReportFile& report,
                    const NumberLocale& locale) {
    PrintLine line;
    line.Append(label);
    line.Append(NumberText(total, locale));
    report.WriteLine(line.Text());
}

}  // namespace

std::string LostSaleHeading() {
    PrintLine heading;
    for (std::string_view title : {"Sales Point", "Lost Sale", "Return"}) {
        heading.Append(title);
        heading.AdvanceToNextZone();
    }
    heading.Append("Sales");
    return heading.Text();
}

std::string RenumberedLostSaleRow(std::string_view row, int salesPoint,
                                  const NumberLocale& locale) {
    PrintLine line = NumberedRow(salesPoint, locale);
    // Every number up to 32,767 ends within the first zone: the sums start at the second.
    line.Append(row.substr(std::min(row.size(), line.Text().size())));
    return line.Text();
}

ReportTotals TotalsOf(const RunState& state) {
    return {state.totalSales, state.totalLostSale, state.totalReturn};
}

void WriteTotals(const ReportTotals& totals, ReportFile& report, const NumberLocale& locale) {
    report.WriteBlankLine();
    WriteTotalLine("Total Sales: ", totals.sales, report, locale);
    WriteTotalLine("Total Lost Sale: ", totals.lostSale, report, locale);
    WriteTotalLine("Total Return: ", totals.returned, report, locale);
}

void WriteParameterHeading(ReportFile& report) {
    report.WriteLine("Parameters of sales points");
}

void WriteParameterLines(RunState& state, ReportFile& report, const NumberLocale& locale) {
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        switch (state.model) {
            case DemandModel::loga:
                // Only these are printed rounded; the run goes on with the drawn values.
                WriteParameterLine(
                    report, locale, sp,
                    {RoundToDecimals(state.modelA[sp], 5), RoundToDecimals(state.modelC[sp], 5)});
                break;
            case DemandModel::sqrot:
            case DemandModel::linear:
            case DemandModel::t_tplusn:
                WriteParameterLine(report, locale, sp, {state.modelA[sp], state.modelC[sp]});
                break;
            case DemandModel::meanAR1:
                WriteParameterLine(report, locale, sp, {state.modelMu[sp], state.modelPhi[sp]});
                break;
            case DemandModel::AR1:
                WriteParameterLine(report, locale, sp,
                                   {state.modelMu[sp], state.modelPhi[sp], state.modelSigma[sp]});
                break;
            case DemandModel::Normal:
                WriteParameterLine(report, locale, sp, {state.modelMu[sp], state.modelSigma[sp]});
                break;
        }
    }
}

void WriteDemandSource(ReportFile& report, std::string_view fileName) {
    std::string line = "Demand read from ";
    line += fileName;
    // A file name may hold any byte but a slash; the report line must stay one line.
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    report.WriteLine(line);
}

void WriteSeasonLine(const RunState& state, ReportFile& report) {
    if (state.season.Active()) {
        report.WriteLine("Demand adjusted by a season of " + std::to_string(state.season.length) +
                         " periods");
    }
}

void WriteActualDemandMatrix(RunState& state, ReportFile& report, const NumberLocale& locale) {
    report.WriteBlankLine();
    report.WriteLine(kMatrixHeadings[0]);
    WriteMatrixRows(state, state.actualDemand, CellFormat::whole, report, locale);
}

void WriteRemainingSections(RunState& state, ReportFile& report, const NumberLocale& locale) {
    // The text of the matrices takes most of the report's time: the last three are built on a
    // second thread while this one writes the first two. The lines are written in their order
    // as before, so a fault part-way leaves the same lines.
    const RunState& built = state;
    std::future<std::array<MatrixRows, 3>> later = std::async(std::launch::async, [&] {
        return std::array<MatrixRows, 3>{
            BuildMatrixRows(built, built.delivery, CellFormat::whole, locale),
            BuildMatrixRows(built, built.alpha, CellFormat::twoDecimalNumber, locale),
            BuildMatrixRows(built, built.beta, CellFormat::twoDecimalNumber, locale)};
    });

    report.WriteBlankLine();
    report.WriteLine("Forecasts");
    report.WriteBlankLine();
    report.WriteLine(kMatrixHeadings[1]);
    WriteMatrixRows(state, state.mu, CellFormat::twoDecimalCell, report, locale);

    report.WriteBlankLine();
    report.WriteLine(kMatrixHeadings[2]);
    WriteMatrixRows(state, state.sigma, CellFormat::twoDecimalCell, report, locale);

    const std::array<MatrixRows, 3> rows = later.get();
    report.WriteBlankLine();
    report.WriteLine("Deliveries");
    report.WriteBlankLine();
    report.WriteLine(kMatrixHeadings[3]);
    WriteBuiltRows(state, rows[0], report);

    report.WriteBlankLine();
    report.WriteLine("Parameters found");
    report.WriteBlankLine();
    report.WriteLine(kMatrixHeadings[4]);
    WriteBuiltRows(state, rows[1], report);

    report.WriteBlankLine();
    report.WriteLine(kMatrixHeadings[5]);
    WriteBuiltRows(state, rows[2], report);

    report.WriteBlankLine();
    report.WriteLine("Lost Sale, Return and Realized Sales");
    WriteLostSaleTable(state, report, locale);

    WriteTotals(TotalsOf(state), report, locale);
}

}  // namespace sf
