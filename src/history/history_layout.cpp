#include "history/history_layout.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "history/history_cells.h"
#include "history/history_dates.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr char kSalesPointName[] = "sales_point";
constexpr char kPeriodName[] = "period";
constexpr char kDemandName[] = "demand";
constexpr std::array<const char*, 3> kColumnRoles = {"the sales points", "the periods",
                                                     "the demand"};

// Names are matched without surrounding blanks and whatever their case.
std::string Lowered(std::string_view cell) {
    std::string name = NameInCell(cell);
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

bool HasNames(const CsvRecord& row) {
    return std::ranges::any_of(row.cells, [](const std::string& cell) {
        return !IsBlank(cell) && !LooksLikeNumber(cell) && !LooksLikeDate(cell);
    });
}

bool Names(const CsvRecord& row, const char* wanted) {
    return std::ranges::any_of(
        row.cells, [wanted](const std::string& cell) { return Lowered(cell) == wanted; });
}

bool HasStandardNames(const CsvRecord& row) {
    return Names(row, kSalesPointName) || Names(row, kPeriodName);
}

bool HasAllStandardNames(const CsvRecord& row) {
    return Names(row, kSalesPointName) && Names(row, kPeriodName) && Names(row, kDemandName);
}

// What the cells of one column hold over the data rows, blank cells aside.
struct ColumnKind {
    bool anyCell = false;
    bool numbers = true;
    bool wholeNumbers = true;
    bool dates = true;

    bool Names() const { return anyCell && !numbers && !dates; }
};

std::vector<ColumnKind> KindsOf(const std::vector<CsvRecord>& rows, std::size_t firstData,
                                std::size_t columns) {
    std::vector<ColumnKind> kinds(columns);
    for (std::size_t at = firstData; at < rows.size(); ++at) {
        const std::vector<std::string>& cells = rows[at].cells;
        for (std::size_t column = 0; column < std::min(columns, cells.size()); ++column) {
            const std::string& cell = cells[column];
            if (IsBlank(cell)) {
                continue;
            }
            ColumnKind& kind = kinds[column];
            kind.anyCell = true;
            kind.numbers = kind.numbers && LooksLikeNumber(cell);
            kind.wholeNumbers = kind.wholeNumbers && IsWholeNumber(cell);
            kind.dates = kind.dates && LooksLikeDate(cell);
        }
    }
    return kinds;
}

// The first column that is none of the taken ones and is of the kind wanted.
template <typename Wanted>
std::optional<std::size_t> FirstColumn(const std::vector<ColumnKind>& kinds,
                                       std::initializer_list<std::optional<std::size_t>> taken,
                                       Wanted wanted) {
    for (std::size_t column = 0; column < kinds.size(); ++column) {
        const bool isTaken = std::ranges::any_of(
            taken, [column](const std::optional<std::size_t>& t) { return t == column; });
        if (!isTaken && kinds[column].anyCell && wanted(kinds[column])) {
            return column;
        }
    }
    return std::nullopt;
}

// A column of names, one of periods or dates and one of numbers: a long table.
bool FindColumnsByContent(const std::vector<ColumnKind>& kinds, HistoryLayout& layout) {
    const std::optional<std::size_t> name =
        FirstColumn(kinds, {}, [](const ColumnKind& kind) { return kind.Names(); });
    std::optional<std::size_t> period =
        FirstColumn(kinds, {name}, [](const ColumnKind& kind) { return kind.dates; });
    if (!period) {
        period =
            FirstColumn(kinds, {name}, [](const ColumnKind& kind) { return kind.wholeNumbers; });
    }
    const std::optional<std::size_t> demand =
        FirstColumn(kinds, {name, period}, [](const ColumnKind& kind) { return kind.numbers; });
    if (!name || !period || !demand) {
        return false;
    }
    layout.nameColumn = *name;
    layout.periodColumn = *period;
    layout.demandColumn = *demand;
    layout.columnsFoundBy = ColumnsFoundBy::content;
    return true;
}

void FindColumnsByName(const CsvRecord& header, HistoryLayout& layout) {
    const std::array<std::pair<const char*, std::size_t*>, 3> wanted = {
        {{kSalesPointName, &layout.nameColumn},
         {kPeriodName, &layout.periodColumn},
         {kDemandName, &layout.demandColumn}}};
    for (const auto& [name, column] : wanted) {
        bool found = false;
        for (std::size_t at = 0; at < header.cells.size(); ++at) {
            if (Lowered(header.cells[at]) != name) {
                continue;
            }
            if (found) {
                throw RunError(RowName(header.row) + ", column " + std::to_string(at + 1) +
                               ": a second column named \"" + name + "\"");
            }
            found = true;
            *column = at;
        }
        if (!found) {
            throw RunError(RowName(header.row) + " has no column named \"" + name +
                           "\"; a file with sales_point and period columns needs all three of "
                           "sales_point, period and demand");
        }
    }
    layout.columnsFoundBy = ColumnsFoundBy::headerNames;
    layout.numberedSalesPoints = true;
}

// A column the user named: a header cell's text, else a column number from 1.
std::size_t ChosenColumn(const std::string& chosen, const char* role, const HistoryLayout& layout) {
    const std::string name = Lowered(chosen);
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

void TakeChosenColumns(const HistoryColumns& chosen, HistoryLayout& layout) {
    const std::array<std::size_t, 3> columns = {
        ChosenColumn(chosen.name, kColumnRoles[0], layout),
        ChosenColumn(chosen.period, kColumnRoles[1], layout),
        ChosenColumn(chosen.demand, kColumnRoles[2], layout)};
    for (std::size_t first = 0; first < columns.size(); ++first) {
        for (std::size_t second = first + 1; second < columns.size(); ++second) {
            if (columns[first] == columns[second]) {
                throw RunError(layout.ColumnName(columns[first]) + " is chosen for both " +
                               kColumnRoles[first] + " and " + kColumnRoles[second]);
            }
        }
    }
    layout.nameColumn = columns[0];
    layout.periodColumn = columns[1];
    layout.demandColumn = columns[2];
    layout.columnsFoundBy = ColumnsFoundBy::choice;
    layout.numberedSalesPoints =
        layout.headerRow != 0 && Lowered(layout.columnNames[layout.nameColumn]) == kSalesPointName;
}

}  // namespace

std::string HistoryLayout::ColumnName(std::size_t column) const {
    std::string name = "column " + std::to_string(column + 1);
    if (column < columnNames.size() && !columnNames[column].empty()) {
        name += " (" + ShownCell(columnNames[column]) + ")";
    }
    return name;
}

HistoryLayout DecideLayout(char delimiter, const std::vector<CsvRecord>& firstRows,
                           const HistoryChoices& choices) {
    HistoryLayout layout;
    layout.delimiter = delimiter;
    if (firstRows.empty()) {
        return layout;
    }
    for (const CsvRecord& row : firstRows) {
        layout.firstRows.push_back(row.cells);
    }
    const CsvRecord& first = firstRows.front();
    const bool header = choices.header == HeaderChoice::found ? HasNames(first)
                                                              : choices.header == HeaderChoice::yes;
    if (header) {
        layout.headerRow = first.row;
        for (const std::string& cell : first.cells) {
            layout.columnNames.push_back(NameInCell(cell));
        }
    }
    const std::size_t firstData = header ? 1 : 0;
    layout.columnCount = first.cellCount;
    // A header with a period column but other names for the rest is read by its content, and
    // when that fails, the names it lacks are named.
    const bool standard = header && HasStandardNames(first);
    const bool byContent =
        !choices.columns && !(standard && HasAllStandardNames(first)) &&
        FindColumnsByContent(KindsOf(firstRows, firstData, first.cells.size()), layout);
    if (byContent) {
        layout.shape = HistoryShape::longTable;
    } else if (choices.columns || standard) {
        if (first.IsCut()) {
            throw RunError(RowName(first.row) + " has " + CellCount(first) +
                           ": more columns than a sales history may have");
        }
        layout.shape = HistoryShape::longTable;
        if (choices.columns) {
            TakeChosenColumns(*choices.columns, layout);
        } else {
            FindColumnsByName(first, layout);
        }
    } else if (firstData < firstRows.size()) {
        const std::vector<std::string>& cells = firstRows[firstData].cells;
        layout.dateColumn = !cells.empty() && LooksLikeDate(cells.front());
    }
    return layout;
}

}  // namespace sf
