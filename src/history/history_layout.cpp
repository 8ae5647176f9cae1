#include "history/history_layout.h"

#include <algorithm>
#include <array>

#include "history/cell_text.h"
#include "history/column_words.h"
#include "history/history_cells.h"
#include "history/history_dates.h"
#include "history/long_columns.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::array<const char*, 3> kColumnRoles = {"the sales points", "the periods",
                                                     "the demand"};
// The most name columns before the periods of a sales point's row.
constexpr std::size_t kMostNameColumns = 10;
constexpr char kSetLayout[] = "set the layout to wide, rows or long (--history-layout)";

bool HasNames(const CsvRecord& row) {
    return std::ranges::any_of(row.cells, [](const std::string& cell) {
        return !IsBlank(cell) && !LooksLikeNumber(cell) && !LooksLikeDate(cell);
    });
}

// A header of names, or dates across after an empty corner, as a spreadsheet's table of a row
// per sales point leaves it.
bool IsHeader(const CsvRecord& row) {
    const std::vector<std::string>& cells = row.cells;
    return HasNames(row) ||
           (cells.size() > 1 && IsBlank(cells.front()) &&
            std::all_of(cells.begin() + 1, cells.end(),
                        [](const std::string& cell) { return LooksLikeDate(cell); }));
}

// A column the user named: a header cell's text, else a column number from 1.
std::size_t ChosenColumn(const std::string& chosen, const char* role, const HistoryLayout& layout) {
    const std::string name = Lowered(chosen);
    if (name.empty()) {
        throw RunError(std::string("no column is chosen for ") + role);
    }
    for (std::size_t at = 0; at < layout.columnNames.size(); ++at) {
        if (Lowered(layout.columnNames[at]) == name) {
            return at;
        }
    }
    if (IsWholeNumber(chosen)) {
        const std::size_t number = std::stoul(NameInCell(chosen).substr(0, 4));
        if (number >= 1 && number <= layout.columnCount) {
            return number - 1;
        }
    }
    std::string where = "a column number from 1 to " + std::to_string(layout.columnCount);
    if (layout.headerRow != 0) {
        where = "in the header of " + RowName(layout.headerRow) + " nor " + where;
    }
    throw RunError("the column " + ShownCell(chosen) + " chosen for " + role + " is not " + where);
}

// The sales point's columns: one column, or several joined by "+" where no column has that name.
std::vector<std::size_t> ChosenKeyColumns(const std::string& chosen, const HistoryLayout& layout) {
    const std::string name = Lowered(chosen);
    const bool oneColumn =
        chosen.find('+') == std::string::npos ||
        std::ranges::any_of(layout.columnNames,
                            [&name](const std::string& cell) { return Lowered(cell) == name; });
    if (oneColumn) {
        return {ChosenColumn(chosen, kColumnRoles[0], layout)};
    }
    std::vector<std::size_t> columns;
    std::size_t start = 0;
    for (std::size_t plus = chosen.find('+'); start <= chosen.size();
         start = plus + 1, plus = chosen.find('+', start)) {
        columns.push_back(
            ChosenColumn(chosen.substr(start, plus - start), kColumnRoles[0], layout));
        if (plus == std::string::npos) {
            break;
        }
    }
    return columns;
}

void TakeChosenColumns(const HistoryColumns& chosen, HistoryLayout& layout) {
    layout.keyColumns = ChosenKeyColumns(chosen.name, layout);
    layout.periodColumn = ChosenColumn(chosen.period, kColumnRoles[1], layout);
    layout.demandColumn = ChosenColumn(chosen.demand, kColumnRoles[2], layout);
    std::vector<std::pair<std::size_t, const char*>> roles;
    for (const std::size_t key : layout.keyColumns) {
        roles.emplace_back(key, kColumnRoles[0]);
    }
    roles.emplace_back(layout.periodColumn, kColumnRoles[1]);
    roles.emplace_back(layout.demandColumn, kColumnRoles[2]);
    for (std::size_t first = 0; first < roles.size(); ++first) {
        for (std::size_t second = first + 1; second < roles.size(); ++second) {
            if (roles[first].first == roles[second].first) {
                throw RunError(layout.ColumnName(roles[first].first) + " is chosen for both " +
                               roles[first].second + " and " + roles[second].second);
            }
        }
    }
    layout.columnsFoundBy = ColumnsFoundBy::choice;
    layout.numberedSalesPoints = layout.headerRow != 0 && layout.keyColumns.size() == 1 &&
                                 Lowered(layout.columnNames[layout.keyColumns[0]]) == "sales_point";
}

bool ConsecutiveNumbers(const std::vector<std::string>& cells, std::size_t first, std::size_t end) {
    for (std::size_t at = first; at < end; ++at) {
        const std::optional<long long> number = SmallWholeNumber(cells[at]);
        if (!number || (at > first && *number != *SmallWholeNumber(cells[at - 1]) + 1)) {
            return false;
        }
    }
    return true;
}

// A header with periods across: its leading name columns, then dates or consecutive period
// numbers to its end (an empty last cell aside). The count of name columns, or 0.
std::size_t NameColumnsBeforePeriods(const CsvRecord& header) {
    const std::vector<std::string>& cells = header.cells;
    const auto first = std::ranges::find_if(
        cells, [](const std::string& cell) { return LooksLikeDate(cell) || IsWholeNumber(cell); });
    const auto names = static_cast<std::size_t>(first - cells.begin());
    if (names == 0 || names > kMostNameColumns || first == cells.end() || header.IsCut()) {
        return 0;
    }
    const std::size_t end = cells.size() - (IsBlank(cells.back()) ? 1 : 0);
    const bool dates = std::all_of(cells.begin() + static_cast<std::ptrdiff_t>(names),
                                   cells.begin() + static_cast<std::ptrdiff_t>(end),
                                   [](const std::string& cell) { return LooksLikeDate(cell); });
    return dates || ConsecutiveNumbers(cells, names, end) ? names : 0;
}

void TakeRows(std::size_t names, HistoryLayout& layout) {
    layout.shape = HistoryShape::rows;
    for (std::size_t column = 0; column < names; ++column) {
        layout.keyColumns.push_back(column);
    }
}

void TakeWide(const std::vector<CsvRecord>& firstRows, std::size_t firstData,
              HistoryLayout& layout) {
    layout.shape = HistoryShape::wide;
    if (firstData < firstRows.size()) {
        const std::vector<std::string>& cells = firstRows[firstData].cells;
        layout.dateColumn = !cells.empty() && LooksLikeDate(cells.front());
    }
}

void TakeLong(const CsvRecord& first, HistoryLayout& layout) {
    if (first.IsCut()) {
        throw RunError(RowName(first.row) + " has " + CellCount(first) +
                       ": more columns than a sales history may have");
    }
    layout.shape = HistoryShape::longTable;
}

// The shape the user chose, where the file can have it.
void TakeChosenLayout(LayoutChoice chosen, const std::vector<CsvRecord>& firstRows,
                      std::size_t firstData, const std::vector<ColumnKind>& kinds,
                      HistoryLayout& layout) {
    const CsvRecord& first = firstRows.front();
    if (chosen == LayoutChoice::wide) {
        TakeWide(firstRows, firstData, layout);
    } else if (chosen == LayoutChoice::rows) {
        const std::size_t names = firstData == 1 ? NameColumnsBeforePeriods(first) : 0;
        if (names == 0) {
            throw RunError(RowName(first.row) +
                           " is no header of names followed by dates or period numbers (1, 2, "
                           "3 ...), as a file with a row per sales point needs");
        }
        TakeRows(names, layout);
    } else {
        if (!FindLongColumnsByWords(kinds, layout) &&
            !FindLongColumnsByContent(firstRows, firstData, kinds, layout)) {
            throw RunError(
                "no columns of sales points and periods were found for a long table: choose "
                "the columns (--history-columns NAME,PERIOD,DEMAND)");
        }
        TakeLong(first, layout);
    }
}

// The shape the file shows: a long table by its header's words, else rows by the periods across
// its header, else a long table by its content, else wide.
void TakeFoundLayout(const std::vector<CsvRecord>& firstRows, std::size_t firstData,
                     const std::vector<ColumnKind>& kinds, HistoryLayout& layout) {
    const CsvRecord& first = firstRows.front();
    if (FindLongColumnsByWords(kinds, layout)) {
        TakeLong(first, layout);
        return;
    }
    // Dates down the first column make a wide table with sales points named by numbers; numbers
    // below every name column, one whose sales points' names are the header's.
    const std::size_t names = firstData == 1 ? NameColumnsBeforePeriods(first) : 0;
    const bool wideFits =
        std::all_of(kinds.begin(), kinds.begin() + static_cast<std::ptrdiff_t>(names),
                    [](const ColumnKind& kind) { return kind.numbers == kind.cells; });
    if (names > 0 && !kinds.front().AllDates()) {
        if (wideFits) {
            throw RunError(RowName(first.row) + " has periods across after " +
                           layout.ColumnName(0) +
                           ", whose cells below are numbers: the file may hold a sales point in "
                           "each row or in each column; " +
                           kSetLayout);
        }
        TakeRows(names, layout);
    } else if (FindLongColumnsByContent(firstRows, firstData, kinds, layout)) {
        TakeLong(first, layout);
    } else {
        TakeWide(firstRows, firstData, layout);
    }
}

}  // namespace

std::string HistoryLayout::ColumnName(std::size_t column) const {
    std::string name = "column " + std::to_string(column + 1);
    if (column < columnNames.size() && !columnNames[column].empty()) {
        name += " (" + ShownCell(columnNames[column]) + ")";
    }
    return name;
}

void DecideLayout(const std::vector<CsvRecord>& firstRows, const HistoryChoices& choices,
                  HistoryLayout& layout) {
    if (firstRows.empty()) {
        return;
    }
    for (const CsvRecord& row : firstRows) {
        layout.firstRows.push_back(row.cells);
    }
    const CsvRecord& first = firstRows.front();
    const bool header = choices.header == HeaderChoice::found ? IsHeader(first)
                                                              : choices.header == HeaderChoice::yes;
    if (header) {
        layout.headerRow = first.row;
        for (const std::string& cell : first.cells) {
            layout.columnNames.push_back(NameInCell(cell));
        }
    }
    const std::size_t firstData = header ? 1 : 0;
    layout.columnCount = first.cellCount;
    const std::vector<ColumnKind> kinds = KindsOf(firstRows, firstData, first.cells.size());
    if (choices.columns) {
        if (choices.layout != LayoutChoice::found && choices.layout != LayoutChoice::longTable) {
            throw RunError("columns are chosen for a long table, but the layout is set to " +
                           std::string(WordOfChoice(kLayoutWords, choices.layout)));
        }
        TakeLong(first, layout);
        TakeChosenColumns(*choices.columns, layout);
    } else if (choices.layout != LayoutChoice::found) {
        TakeChosenLayout(choices.layout, firstRows, firstData, kinds, layout);
    } else {
        TakeFoundLayout(firstRows, firstData, kinds, layout);
    }
    layout.shapeSettled = true;
}

}  // namespace sf
