#include "report/report_sections.h"

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

// The rows of a matrix section, one per period: the cells of sales points 1..N, each after one
// space, as lineText holds them. Built apart from the report, so that two threads can build two
// sections at once.
struct MatrixRows {
    std::string text;                 // each row's lineText, one after another
    std::vector<std::size_t> starts;  // where each row begins, and the end
    std::string lastCell;
};

MatrixRows BuildMatrixRows(const RunState& state, const Matrix& matrix, CellFormat format,
                           const NumberLocale& locale) {
    MatrixRows rows;
    rows.starts.push_back(0);
    for (int period = 1; period <= state.periodNumber; ++period) {
        for (int salesPoint = 1; salesPoint <= state.salesPointCount; ++salesPoint) {
            FormatCell(rows.lastCell, matrix(salesPoint, period), format, locale);
            rows.text += ' ';
            rows.text += rows.lastCell;
        }
        rows.starts.push_back(rows.text.size());
    }
    return rows;
}

// Writes each row without the space before its first cell, and leaves the counters and texts
// as a row-by-row loop over period and sales point leaves them.
void WriteBuiltRows(RunState& state, const MatrixRows& rows, ReportFile& report) {
    const std::string_view text = rows.text;
    for (std::size_t row = 0; row + 1 < rows.starts.size(); ++row) {
        const std::string_view line =
            text.substr(rows.starts[row], rows.starts[row + 1] - rows.starts[row]);
        report.WriteLine(line.substr(1));
        if (row + 2 == rows.starts.size()) {
            state.lineText = line;
            state.cellText = rows.lastCell;
        }
    }
    state.period = static_cast<std::int16_t>(state.periodNumber + 1);
    if (state.periodNumber >= 1) {
        state.salesPoint = static_cast<std::int16_t>(state.salesPointCount + 1);
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

void WriteLostSaleTable(RunState& state, ReportFile& report, const NumberLocale& locale) {
    PrintLine heading;
    for (std::string_view title : {"Sales Point", "Lost Sale", "Return"}) {
        heading.Append(title);
        heading.AdvanceToNextZone();
    }
    heading.Append("Sales");
    report.WriteLine(heading.Text());

    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        PrintLine row;
        for (double item :
             {static_cast<double>(sp), state.lostSaleSum[sp], state.returnedSum[sp]}) {
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

void WriteActualDemandMatrix(RunState& state, ReportFile& report, const NumberLocale& locale) {
    report.WriteBlankLine();
    report.WriteLine("Actual demand matrix: sales points in columns, periods in rows");
    WriteBuiltRows(state, BuildMatrixRows(state, state.actualDemand, CellFormat::whole, locale),
                   report);
}

void WriteRemainingSections(RunState& state, ReportFile& report, const NumberLocale& locale) {
    // The text of the matrices takes most of the report's time: the last three are built on a
    // second thread while this one builds the first two. The lines are written in their order
    // as before, so a fault part-way leaves the same lines.
    const RunState& built = state;
    std::future<std::array<MatrixRows, 3>> later = std::async(std::launch::async, [&] {
        return std::array<MatrixRows, 3>{
            BuildMatrixRows(built, built.delivery, CellFormat::whole, locale),
            BuildMatrixRows(built, built.alpha, CellFormat::twoDecimalNumber, locale),
            BuildMatrixRows(built, built.beta, CellFormat::twoDecimalNumber, locale)};
    });
    const MatrixRows mu = BuildMatrixRows(built, state.mu, CellFormat::twoDecimalCell, locale);
    const MatrixRows sigma =
        BuildMatrixRows(built, state.sigma, CellFormat::twoDecimalCell, locale);

    report.WriteBlankLine();
    report.WriteLine("Forecasts");
    report.WriteBlankLine();
    report.WriteLine("mu: sales points in columns, periods in rows");
    WriteBuiltRows(state, mu, report);

    report.WriteBlankLine();
    report.WriteLine("sigma: sales points in columns, periods in rows");
    WriteBuiltRows(state, sigma, report);

    const std::array<MatrixRows, 3> rows = later.get();
    report.WriteBlankLine();
    report.WriteLine("Deliveries");
    report.WriteBlankLine();
    report.WriteLine("sales points in columns, periods in rows");
    WriteBuiltRows(state, rows[0], report);

    report.WriteBlankLine();
    report.WriteLine("Parameters found");
    report.WriteBlankLine();
    report.WriteLine("alpha values used: sales points in columns, periods in rows");
    WriteBuiltRows(state, rows[1], report);

    report.WriteBlankLine();
    report.WriteLine("beta values used: sales points in columns, periods in rows");
    WriteBuiltRows(state, rows[2], report);

    report.WriteBlankLine();
    report.WriteLine("Lost Sale, Return and Realized Sales");
    WriteLostSaleTable(state, report, locale);

    report.WriteBlankLine();
    WriteTotalLine("Total Sales: ", state.totalSales, report, locale);
    WriteTotalLine("Total Lost Sale: ", state.totalLostSale, report, locale);
    WriteTotalLine("Total Return: ", state.totalReturn, report, locale);
}

}  // namespace sf
