#pragma once

#include <string>
#include <string_view>

namespace sf {

// The header words that say what a column holds, in English, German, French, Spanish, Italian
// and Dutch. A word is the whole cell, without the blanks around it, whatever its case.

// A cell's text as words are matched: without blanks around it, in lower case (also the
// accented capitals of Western European languages).
std::string Lowered(std::string_view cell);

// Names a sales point: a store, an article, a product ... (also with "_id", "_no" or "code"
// after it: store_id, ArticleNo).
bool IsKeyWord(std::string_view cell);

// Names a period or a date: period, date, day, week, month ...
bool IsPeriodWord(std::string_view cell);

// How surely a header word names the demand: demand first, then units, quantity or qty, then
// sales; none for any other cell.
enum class DemandWord { none, sales, quantity, demand };
DemandWord DemandWordOf(std::string_view cell);

// Total, Sum, Summe, Gesamt, Totale or Totaal.
bool IsTotalWord(std::string_view cell);

}  // namespace sf
