#include "ui/help_page.h"

#include "results/summary_columns.h"
#include "ui/control_help.h"

namespace sf::ui {
namespace {

QString Escaped(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toHtmlEscaped();
}

const char kIntroduction[] =
    "<h2>Sales Forecast</h2>"
    "<p>Type the inputs, pick a demand model under Underlying Demand, type the limits of its "
    "parameters and press Run. A run draws each sales point's parameters and demand, fits the "
    "smoothing constants, forecasts every period, sets each delivery to the forecast plus τ "
    "standard deviations and writes the report. Numbers are typed with the decimal point of "
    "your locale.</p>"
    "<p>The report goes to out.txt in the folder the program was started from, or in your home "
    "folder where that folder cannot be written; the status bar shows where, and File ▸ Report "
    "File... chooses another place. The boxes, the model and the option are remembered when the "
    "window closes, and so is the sales history in use: the next start reads it again with the "
    "same choices, or says in the status bar why it cannot and runs on simulated demand; "
    "File ▸ New Scenario brings back the start state, and File ▸ Load Example "
    "fills the boxes with a small scenario to start from (the batch command's --example).</p>";

const char kOptions[] =
    "<h3>Options</h3>"
    "<p><b>Keep smoothing constants within 0 and 1</b> holds every rolling search of α and β "
    "within 0..1 (the batch command's --bounded-constants). Off, a constant may leave that "
    "range and a sales point's forecasts may diverge. It changes nothing the report prints "
    "beyond the constants and what follows from them.</p>"
    "<p><b>Season length...</b> (the batch command's --season) divides each sales point's "
    "demand by season indices of that many periods (7 for days, 52 for weeks, 12 for months; 0 "
    "for none), found in the periods for initial mu and sigma, which must hold twice as many "
    "plus one. A day without demand there is closed: forecast, sigma and delivery 0. The report "
    "holds the adjusted run; the Results window and the export files are in the demand's own "
    "units, and the Season page charts the indices.</p>";

const char kResultsWindow[] =
    "<h3>The Results window</h3>"
    "<p>After a complete run the Results window opens beside the form. <b>Totals</b> gives the "
    "figures of the evaluation shown over the sound sales points, and says over which periods "
    "and how many sales points were left out as diverged; <b>As forecast</b> and <b>As "
    "reported</b> switch the evaluation. A yellow band repeats the warnings; where forecasts "
    "diverged it offers to run again with the constants kept within 0 and 1 on the same "
    "demand. Notes follow the band.</p>"
    "<p>The table holds the figures per sales point, then the rows sound and all, which stay "
    "last however it is sorted; marked rows diverged, and huge numbers are written as 1.6E+25. "
    "Below it, the selected row's demand, forecast and delivery, its smoothing constants (for "
    "sound and all, the sums of their sales points), the trade-off over τ and the scenario. On "
    "the trade-off, type a target fill rate for the smallest τ reaching it, and the costs of a "
    "lost sale and of a return for the cheapest τ and the cost τ, whose cycle service level "
    "reaches cl / (cl + cr); <b>Both evaluations</b> draws the other evaluation's curves too. "
    "<b>Check on unseen periods from</b> T chooses every τ answer on the periods before T and "
    "shows what each reached from T on. The Next deliveries tab proposes a delivery for every "
    "sales point: a diverged one's comes from that sales point run alone with the constants "
    "within 0 and 1. The line under a chart reads the curves at the pointer; the wheel "
    "zooms, a double click shows the whole chart. A sales history with dates puts them on the "
    "time axis.</p>"
    "<p>From the second run on, a list at the top holds the runs of this start; select two or "
    "more to see their figures side by side, each over the sales points sound in every run shown, "
    "and their trade-off curves together. A run keeps its number (#3) in the list, the chart "
    "titles and the Scenario tab. <b>Open results "
    "folder</b> (also in the File menu) adds a run that an export wrote, named \"from folder\" "
    "in the list: its files are read and checked against one another, and a folder whose files "
    "were changed or do not belong together is refused, naming the file, row and column. Its "
    "demand cannot be drawn again, so Same demand is off for it.</p>"
    "<p><b>Next deliveries</b> holds what to deliver in the periods after the last one known, a "
    "row per sales point and coming period: the forecast, its standard deviation and the "
    "delivery at the run's τ, at the τ of the target fill rate, of the cheapest τ, of the cost τ "
    "and of the target cycle service level typed on that tab, then the proposal: the run's own "
    "delivery, or for a sales point whose forecasts diverged (its own cells marked) the delivery "
    "of a run of it alone with the constants kept within 0 and 1. The total of the deliveries to "
    "decide now adds the proposals. Copy deliveries puts that table and the total on the "
    "clipboard. A dated sales history names the coming periods by their dates too, continued "
    "by the history's step, in the caption and in a last column.</p>"
    "<p><b>Sales points</b> lists every sales point by its figures: click a heading to sort, "
    "type a part of a name to filter. The selected one's demand, forecast and delivery and its "
    "smoothing constants are charted beside the table. For a sales history beyond 100 sales "
    "points or 600 periods (a catalogue: it runs in blocks, the bar counting sales points, and "
    "writes no report) they are computed again from that sales point alone, which gives the "
    "series it had in the catalogue.</p>"
    "<p>In a window shorter than 860 pixels the table has a tab of its own, "
    "<b>Figures</b>, before the charts, so that each chart keeps its room. The Results window "
    "and the form come back where and as large as they were left.</p>"
    "<p>Export results writes five files, summary.csv, series.csv, tradeoff.csv, next.csv and "
    "run.json (and check.csv for a check on unseen periods), as the batch command's --export "
    "does, and replaces the whole folder: so the folder must be new (type the name of a new "
    "one; it is created), empty or hold an earlier export (its marker .sales-forecast-export as "
    "the export wrote it) and nothing else, else it is refused, naming the file that would be "
    "lost. Save chart keeps the visible chart as PNG or SVG; Open report shows the report (or says "
    "that the desktop has no viewer for it); Copy "
    "table puts the table on the clipboard for a spreadsheet.</p>";

const char kEvaluations[] =
    "<h3>Two evaluations</h3>"
    "<p><b>As forecast</b>: the deliveries a planner could have set, each from the forecast known "
    "when it had to be decided (H periods before, or the period before when H is 0), over the "
    "periods of the rolling forecast, S + A + H + 1 to P. The window leads with it. When the "
    "estimation windows cover every period it has no periods, and the window leads with as "
    "reported.</p>"
    "<p><b>As reported</b>: the report's own deliveries over the periods S to P, with every "
    "forecast replayed with the last constants, fitted on all the demand: in hindsight. Its sums "
    "are the report's.</p>"
    "<p>A sales point's forecasts <b>diverged</b> when one lies further outside the range of its "
    "demand than that range is wide, or a sigma is larger than that width. A sales point is "
    "<b>sound</b> when it diverged in neither evaluation; the totals, the row sound and the "
    "trade-off leave the others out, the row all keeps them.</p>";

const char kWarningsAndNotes[] =
    "<h3>Warnings and notes</h3>"
    "<p>A <b>warning</b> follows the closing message when some sales points' forecasts diverged "
    "(it names how many and the first few), or when the estimation windows cover every period "
    "(S + A + H ≥ P), so that nothing was forecast on a rolling basis. The report is complete "
    "and exact either way.</p>"
    "<p><b>Notes</b> say what the figures should be read with: constants that left 0 to 1 "
    "without divergence, periods whose sigma lies below 0, a horizon of 0 (each forecast then "
    "holds its own period's demand in the report), and an as-forecast evaluation without "
    "periods.</p>";

const char kSalesHistory[] =
    "<h3>Sales history files</h3>"
    "<p>Use Sales History... runs on demand you recorded: its demand takes the place of the "
    "model's and its counts those of the two count boxes; nothing is drawn. The file is text in "
    "one of three shapes: <b>wide</b>, one column per sales point and one row per period, with an "
    "optional first row of names; <b>rows</b>, one row per sales point, its name columns and "
    "then the periods across, with dates or period numbers in the header; or <b>long</b>, a row "
    "per sales point and period, whose columns are found by their header words (a store or "
    "article, a period or date, and demand, units, quantity or sales) or by their content (the "
    "series.csv of an export has this shape). The preview shows how the file will be read and "
    "lets you set what the file leaves open: the layout, the header, the decimal separator, the "
    "long table's columns (two columns may name a sales point together), and whether missing "
    "rows are zero and repeated rows are added up. A last row of totals is left out. Cells are "
    "separated by commas, semicolons or tabs; numbers use a point, or a comma "
    "in a file separated by semicolons or tabs. Up to 100 sales points and 600 periods, every "
    "cell a number. Dates may be 2024-03-01, 01.03.2024, 01/03/2024 or 03/01/2024 (the preview's "
    "date order settles a column whose every date reads both ways) or the week 2024-W09. A file "
    "that is not UTF-8 is read as Windows-1252 where every byte maps, and the preview says so. "
    "With missing rows read as zero, a day or week that no row names is zero for every sales "
    "point. A file opened again (Recent Sales Histories too) is read with the choices it was "
    "last read with. A file that cannot be used is refused with its row and column named.</p>";

const char kScenarioFile[] =
    "<h3>Scenario files</h3>"
    "<p>File ▸ Save Scenario keeps the boxes as typed, the model, the option and the seed in a "
    "file (NAME.sfscenario) that File ▸ Open Scenario, and the batch command's --scenario, read "
    "again on any computer: its numbers are kept with a point and shown with the decimal point "
    "of whoever opens it. Open Scenario also reads the run.json of an export, and offers to "
    "start the random sequence from the file's seed so that the next run draws the batch "
    "command's demand.</p>";

const char kShortcuts[] =
    "<h3>Keys</h3><table>"
    "<tr><td>F1</td><td>this help</td></tr>"
    "<tr><td>Ctrl+N, Ctrl+O, Ctrl+S</td><td>new, open and save a scenario</td></tr>"
    "<tr><td>Ctrl+E</td><td>export the results</td></tr>"
    "<tr><td>Ctrl+Q</td><td>quit</td></tr>"
    "<tr><td>Enter on Run</td><td>run</td></tr>"
    "<tr><td>In the Results window: Ctrl+E, Ctrl+S, Ctrl+O, Ctrl+Shift+C, Ctrl+Shift+O</td>"
    "<td>export, save the chart, open the report, copy the table, open a results "
    "folder</td></tr>"
    "<tr><td>Ctrl+C in the table</td><td>copy the table</td></tr>"
    "<tr><td>Ctrl+Shift+Up, Ctrl+Shift+Down in the table</td>"
    "<td>sort rising or falling by the current column</td></tr>"
    "<tr><td>Alt with an underlined letter</td><td>that control</td></tr>"
    "<tr><td>Esc</td><td>close the Results window</td></tr>"
    "</table><p>The keys work while the cursor is in a box too.</p>";

}  // namespace

QString HelpPage() {
    QString page = QString::fromUtf8(kIntroduction) + QStringLiteral("<h3>The boxes</h3><dl>");
    for (const ControlHelp& help : FormHelp()) {
        page += QStringLiteral("<dt><b>%1</b></dt><dd>%2</dd>")
                    .arg(Escaped(help.title), Escaped(help.text));
    }
    page += QStringLiteral("</dl>") + QString::fromUtf8(kOptions) +
            QString::fromUtf8(kResultsWindow) + QString::fromUtf8(kEvaluations) +
            QStringLiteral("<h3>The figures</h3><dl>");
    for (const SummaryColumn& column : kSummaryColumns) {
        page += QStringLiteral("<dt><b>%1</b></dt><dd>%2</dd>")
                    .arg(Escaped(column.label), Escaped(column.description));
    }
    return page + QStringLiteral("</dl>") + QString::fromUtf8(kWarningsAndNotes) +
           QString::fromUtf8(kSalesHistory) + QString::fromUtf8(kScenarioFile) +
           QString::fromUtf8(kShortcuts);
}

}  // namespace sf::ui
