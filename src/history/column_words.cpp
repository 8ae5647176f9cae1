#include "history/column_words.h"

#include <algorithm>
#include <iterator>

#include "history/cell_text.h"

namespace sf {
namespace {

constexpr std::string_view kKeyWords[] = {
    "sales_point", "sales point",   "store",    "shop",     "branch",        "outlet",
    "location",    "article",       "product",  "item",     "sku",           "name",
    "filiale",     "geschäft",      "laden",    "markt",    "artikel",       "produkt",
    "magasin",     "produit",       "boutique", "tienda",   "artículo",      "articulo",
    "producto",    "negozio",       "articolo", "prodotto", "punto vendita", "winkel",
    "filiaal",     "artikelnummer", "ean",      "gtin",     "plu",           "standort"};
// What may follow a key word in a header: store_id, ArticleNo, product code, item_name.
constexpr std::string_view kKeySuffixes[] = {"",      "_id",  " id",    "-id",   "id",    "_no",
                                             " no",   "no",   "_nr",    " nr",   "nr",    "_code",
                                             " code", "code", "nummer", "_name", " name", "name"};
constexpr std::string_view kPeriodWords[] = {
    "period", "date",  "day",    "week",       "month",      "periode",      "datum",  "tag",
    "woche",  "monat", "kw",     "période",    "jour",       "semaine",      "mois",   "fecha",
    "día",    "dia",   "semana", "mes",        "periodo",    "data",         "giorno", "settimana",
    "mese",   "dag",   "maand",  "week_start", "week start", "kalenderwoche"};
constexpr std::string_view kDemandWords[] = {"demand",  "nachfrage", "bedarf", "demande",
                                             "demanda", "domanda",   "vraag"};
constexpr std::string_view kQuantityWords[] = {
    "units",    "quantity", "qty",         "menge",    "stück",    "stueck",   "anzahl",
    "stk",      "unités",   "unites",      "quantité", "quantite", "qté",      "qte",
    "unidades", "cantidad", "unità",       "unita",    "quantità", "quantita", "pezzi",
    "eenheden", "aantal",   "hoeveelheid", "stuks"};
constexpr std::string_view kSalesWords[] = {"sales",  "absatz", "verkäufe", "verkaufe", "verkauf",
                                            "ventes", "ventas", "vendite",  "verkoop",  "verkopen"};
constexpr std::string_view kTotalWords[] = {"total", "sum", "summe", "gesamt", "totale", "totaal"};

template <std::size_t Count>
bool Holds(const std::string_view (&words)[Count], std::string_view word) {
    return std::ranges::find(words, word) != std::end(words);
}

}  // namespace

std::string Lowered(std::string_view cell) {
    std::string name = NameInCell(cell);
    for (std::size_t at = 0; at < name.size(); ++at) {
        const auto c = static_cast<unsigned char>(name[at]);
        if (c >= 'A' && c <= 'Z') {
            name[at] = static_cast<char>(c + ('a' - 'A'));
        } else if (c == 0xC3 && at + 1 < name.size()) {
            // The capitals of U+00C0..U+00DE but the multiplication sign: their small letter is
            // 0x20 further on.
            const auto next = static_cast<unsigned char>(name[at + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) {
                name[at + 1] = static_cast<char>(next + 0x20);
            }
            ++at;
        }
    }
    return name;
}

bool IsKeyWord(std::string_view cell) {
    const std::string word = Lowered(cell);
    return std::ranges::any_of(kKeySuffixes, [&word](std::string_view suffix) {
        return word.size() > suffix.size() && word.ends_with(suffix) &&
               Holds(kKeyWords, std::string_view(word).substr(0, word.size() - suffix.size()));
    });
}

bool IsPeriodWord(std::string_view cell) {
    return Holds(kPeriodWords, Lowered(cell));
}

DemandWord DemandWordOf(std::string_view cell) {
    const std::string word = Lowered(cell);
    if (Holds(kDemandWords, word)) {
        return DemandWord::demand;
    }
    if (Holds(kQuantityWords, word)) {
        return DemandWord::quantity;
    }
    return Holds(kSalesWords, word) ? DemandWord::sales : DemandWord::none;
}

bool IsTotalWord(std::string_view cell) {
    // Asked of a long table's every key cell: most are ruled out by their length alone.
    constexpr std::size_t kShortest = 3;
    constexpr std::size_t kLongest = 6;
    const std::size_t length = WithoutBlanks(cell).size();
    return length >= kShortest && length <= kLongest && Holds(kTotalWords, Lowered(cell));
}

}  // namespace sf
