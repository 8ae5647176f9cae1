#pragma once

#include <string>
#include <string_view>

namespace sf {

// One report line built from items, each followed by no separator or a zone separator. Zones
// are 14 columns wide; a zone separator always writes at least one space.
class PrintLine {
  public:
    void Append(std::string_view item) { text_ += item; }
    void AdvanceToNextZone();
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace sf
