#pragma once

#include <string_view>

#include "export_reader/series_table.h"
#include "results/run_record.h"
#include "runtime/number_locale.h"

namespace sf {

// What run.json tells of its run: how it was made and asked, and what its series need.
struct RunJsonContents {
    RunRecord record;  // the boxes shown in the locale given
    SeriesContext context;
    RunJsonForm form = RunJsonForm::current;  // a folder written before holds more
};

// Reads what run.json says of the run; the figures and answers it also holds are the reader's
// to compare with what the series give. Only run.json of this program's own version is read.
// A RunError that begins "run.json" and names the key.
RunJsonContents ReadRunJson(std::string_view text, const NumberLocale& shownIn);

}  // namespace sf
