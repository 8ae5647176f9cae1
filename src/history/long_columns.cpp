#include "history/long_columns.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "history/cell_text.h"
#include "history/column_words.h"
#include "history/history_dates.h"
#include "history/history_numbers.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

// The fewest rows that can show keys repeating beside periods: two keys by two periods.
constexpr std::size_t kFewestKeyedRows = 4;
// Numeric keys and their periods are sought among the first columns only, where long tables keep
// them: a wide table of many columns of counts is not searched pair by pair.
constexpr std::size_t kKeyColumnsSought = 8;
constexpr char kNumberingName[] = "sales_point";
constexpr char kChooseColumns[] = "choose the columns (--history-columns NAME,PERIOD,DEMAND)";

bool IsTaken(const HistoryLayout& layout, std::size_t column, bool periodTaken) {
    return (periodTaken && column == layout.periodColumn) ||
           std::ranges::find(layout.keyColumns, column) != layout.keyColumns.end();
}

// What the header's word says a column holds, where it says.
enum class Role { any, key, period, demand };

Role RoleOf(const HistoryLayout& layout, std::size_t column) {
    if (column >= layout.columnNames.size()) {
        return Role::any;
    }
    const std::string& name = layout.columnNames[column];
    if (IsKeyWord(name)) {
        return Role::key;
    }
    if (IsPeriodWord(name)) {
        return Role::period;
    }
    return DemandWordOf(name) != DemandWord::none ? Role::demand : Role::any;
}

// A column the content would take for the role, unless its header word says otherwise.
bool MayBe(const HistoryLayout& layout, std::size_t column, Role role) {
    const Role named = RoleOf(layout, column);
    return named == Role::any || named == role;
}

// The first column not taken that is of the kind wanted for the role.
template <typename Wanted>
std::optional<std::size_t> FirstColumn(const std::vector<ColumnKind>& kinds,
                                       const HistoryLayout& layout, bool periodTaken, Role role,
                                       Wanted wanted) {
    for (std::size_t column = 0; column < kinds.size(); ++column) {
        if (!IsTaken(layout, column, periodTaken) && MayBe(layout, column, role) &&
            wanted(kinds[column])) {
            return column;
        }
    }
    return std::nullopt;
}

// Where each run of equal values starts, or none when a value comes back after another.
std::optional<std::vector<std::size_t>> Runs(const std::vector<std::string>& values) {
    std::vector<std::size_t> starts;
    std::set<std::string> ended;
    for (std::size_t at = 0; at < values.size(); ++at) {
        if (at > 0 && values[at] == values[at - 1]) {
            continue;
        }
        if (!ended.insert(values[at]).second) {
            return std::nullopt;
        }
        starts.push_back(at);
    }
    return starts;
}

long long WholeNumber(const std::string& cell) {
    return SmallWholeNumber(cell).value_or(-1);
}

// Blocks: each key's periods one after another, every block from the same first period.
bool InBlocks(const std::vector<std::string>& keys, const std::vector<std::string>& periods) {
    const std::optional<std::vector<std::size_t>> runs = Runs(keys);
    if (!runs || runs->size() < 2) {
        return false;
    }
    for (std::size_t at = 0; at < keys.size(); ++at) {
        const bool starts = std::ranges::find(*runs, at) != runs->end();
        const long long expected =
            starts ? WholeNumber(periods[0]) : WholeNumber(periods[at - 1]) + 1;
        if (WholeNumber(periods[at]) != expected) {
            return false;
        }
    }
    return true;
}

// Cycling: each period's keys one after another, in the same order each time.
bool Cycling(const std::vector<std::string>& keys, const std::vector<std::string>& periods) {
    const std::optional<std::vector<std::size_t>> runs = Runs(periods);
    if (!runs || runs->size() < 2) {
        return false;
    }
    const std::size_t cycle = (*runs)[1];
    for (std::size_t at = cycle; at < keys.size(); ++at) {
        if (keys[at] != keys[at - cycle]) {
            return false;
        }
    }
    for (std::size_t run = 1; run < runs->size(); ++run) {
        if (WholeNumber(periods[(*runs)[run]]) != WholeNumber(periods[(*runs)[run - 1]]) + 1) {
            return false;
        }
    }
    return true;
}

// Whole numbers beside periods or dates as a long table's keys: each (key, period) pair once,
// both repeating. Dates that repeat are no wide table's; period numbers must come in blocks or
// cycling from period 1 as well, which a wide table's counts rarely do by chance.
bool RepeatAsKeys(const std::vector<CsvRecord>& rows, std::size_t firstData, std::size_t key,
                  std::size_t period, bool dated) {
    std::vector<std::string> keys;
    std::vector<std::string> periods;
    std::set<std::pair<std::string, std::string>> pairs;
    for (std::size_t at = firstData; at < rows.size(); ++at) {
        const std::vector<std::string>& cells = rows[at].cells;
        if (std::max(key, period) >= cells.size() || IsBlank(cells[key]) ||
            IsBlank(cells[period])) {
            continue;
        }
        keys.push_back(NameInCell(cells[key]));
        periods.push_back(NameInCell(cells[period]));
        if (!pairs.emplace(keys.back(), periods.back()).second) {
            return false;
        }
    }
    const auto distinct = [](std::vector<std::string> values) {
        std::ranges::sort(values);
        return static_cast<std::size_t>(std::unique(values.begin(), values.end()) - values.begin());
    };
    const std::size_t keyCount = distinct(keys);
    const std::size_t periodCount = distinct(periods);
    if (keys.size() < kFewestKeyedRows || keyCount < 2 || periodCount < 2 ||
        keyCount == keys.size() || periodCount == periods.size()) {
        return false;
    }
    if (dated) {
        return true;
    }
    // Numbered periods begin at period 1, in blocks and cycling alike.
    return WholeNumber(periods.front()) == 1 && (InBlocks(keys, periods) || Cycling(keys, periods));
}

}  // namespace

bool FindLongColumnsByWords(const std::vector<ColumnKind>& kinds, HistoryLayout& layout) {
    std::optional<std::size_t> period;
    for (std::size_t column = 0; column < layout.columnNames.size(); ++column) {
        if (IsKeyWord(layout.columnNames[column])) {
            layout.keyColumns.push_back(column);
        } else if (!period && IsPeriodWord(layout.columnNames[column])) {
            period = column;
        }
    }
    // A sales_point column numbers the sales points itself, as an export's series do.
    const auto numbering = std::ranges::find_if(layout.keyColumns, [&layout](std::size_t column) {
        return Lowered(layout.columnNames[column]) == kNumberingName;
    });
    if (numbering != layout.keyColumns.end()) {
        const std::size_t column = *numbering;
        layout.keyColumns = {column};
    }
    if (layout.keyColumns.empty() || !period) {
        layout.keyColumns.clear();
        return false;
    }
    layout.periodColumn = *period;
    layout.demandColumn = DemandColumn(kinds, layout);
    layout.columnsFoundBy = ColumnsFoundBy::headerNames;
    layout.numberedSalesPoints =
        Lowered(layout.columnNames[layout.keyColumns[0]]) == kNumberingName;
    return true;
}

bool FindLongColumnsByContent(const std::vector<CsvRecord>& rows, std::size_t firstData,
                              const std::vector<ColumnKind>& kinds, HistoryLayout& layout) {
    const auto dates = [](const ColumnKind& kind) { return kind.AllDates(); };
    const auto wholeNumbers = [](const ColumnKind& kind) { return kind.AllWholeNumbers(); };
    std::optional<std::size_t> period;
    if (const std::optional<std::size_t> name = FirstColumn(
            kinds, layout, false, Role::key, [](const ColumnKind& kind) { return kind.Names(); })) {
        layout.keyColumns = {*name};
        period = FirstColumn(kinds, layout, false, Role::period, dates);
        if (!period) {
            period = FirstColumn(kinds, layout, false, Role::period, wholeNumbers);
        }
    }
    const std::size_t sought = std::min(kinds.size(), kKeyColumnsSought);
    for (std::size_t key = 0; key < sought && !period; ++key) {
        for (std::size_t at = 0; at < sought && !period; ++at) {
            if (at != key && wholeNumbers(kinds[key]) && MayBe(layout, key, Role::key) &&
                (dates(kinds[at]) || wholeNumbers(kinds[at])) && MayBe(layout, at, Role::period) &&
                RepeatAsKeys(rows, firstData, key, at, dates(kinds[at]))) {
                layout.keyColumns = {key};
                period = at;
            }
        }
    }
    if (!period) {
        layout.keyColumns.clear();
        return false;
    }
    layout.periodColumn = *period;
    const bool anyNumbers =
        FirstColumn(kinds, layout, true, Role::demand, [](const ColumnKind& kind) {
            return kind.Numbers();
        }).has_value();
    if (!anyNumbers) {
        layout.keyColumns.clear();
        return false;
    }
    layout.demandColumn = DemandColumn(kinds, layout);
    layout.columnsFoundBy = ColumnsFoundBy::content;
    return true;
}

std::optional<long long> SmallWholeNumber(std::string_view cell) {
    const std::string_view text = WithoutBlanks(cell);
    if (!IsWholeNumber(text) || text.size() > 9) {
        return std::nullopt;
    }
    return std::stoll(std::string(text));
}

std::vector<ColumnKind> KindsOf(const std::vector<CsvRecord>& rows, std::size_t firstData,
                                std::size_t columns) {
    std::vector<ColumnKind> kinds(columns);
    for (std::size_t at = firstData; at < rows.size(); ++at) {
        const std::vector<std::string>& cells = rows[at].cells;
        for (std::size_t column = 0; column < std::min(columns, cells.size()); ++column) {
            const std::string& cell = cells[column];
            if (IsBlank(cell) || IsTotalWord(cell)) {
                continue;
            }
            ColumnKind& kind = kinds[column];
            ++kind.cells;
            kind.numbers += LooksLikeNumber(cell) ? 1 : 0;
            kind.wholeNumbers += IsWholeNumber(cell) ? 1 : 0;
            kind.dates += LooksLikeDate(cell) ? 1 : 0;
        }
    }
    return kinds;
}

std::size_t DemandColumn(const std::vector<ColumnKind>& kinds, const HistoryLayout& layout) {
    std::vector<std::size_t> named;
    DemandWord best = DemandWord::none;
    for (std::size_t column = 0; column < layout.columnNames.size(); ++column) {
        const DemandWord word = DemandWordOf(layout.columnNames[column]);
        if (IsTaken(layout, column, true) || word == DemandWord::none || word < best) {
            continue;
        }
        if (word > best) {
            named.clear();
            best = word;
        }
        named.push_back(column);
    }
    if (named.empty()) {
        for (std::size_t column = 0; column < kinds.size(); ++column) {
            if (!IsTaken(layout, column, true) && MayBe(layout, column, Role::demand) &&
                kinds[column].Numbers()) {
                named.push_back(column);
            }
        }
    }
    if (named.size() > 1) {
        throw RunError(
            layout.ColumnName(named[0]) + " and " + layout.ColumnName(named[1]) +
            " could both be the demand, and no header word tells which: " + kChooseColumns);
    }
    if (named.empty()) {
        throw RunError(std::string("no column holds the demand beside the sales points in ") +
                       layout.ColumnName(layout.keyColumns.front()) + " and the periods in " +
                       layout.ColumnName(layout.periodColumn) + ": " + kChooseColumns);
    }
    return named.front();
}

}  // namespace sf
