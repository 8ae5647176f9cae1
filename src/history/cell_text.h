#pragma once

#include <string>
#include <string_view>

namespace sf {

// A cell's text as every part of the reader sees it: blanks around it, the name it gives and how
// a message quotes it. Nothing here knows numbers, dates or records.

bool IsBlank(std::string_view cell);
// The cell without the blanks (spaces, tabs) around it.
std::string_view WithoutBlanks(std::string_view cell);

// A cell without the blanks around it, as a sales point's name.
std::string NameInCell(std::string_view cell);

// A cell as a message quotes it: on one line, cut short when long.
std::string ShownCell(std::string_view cell);

std::string RowName(int row);

}  // namespace sf
