#pragma once

#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QWidget>
#include <memory>

#include "runtime/number_locale.h"
#include "ui/chart_builder.h"
#include "ui/completed_run.h"
#include "ui/figures_page.h"
#include "ui/message_sink.h"
#include "ui/next_deliveries_page.h"
#include "ui/runs_list.h"
#include "ui/sales_points_page.h"
#include "ui/scenario_page.h"
#include "ui/season_page.h"
#include "ui/totals_panel.h"
#include "ui/tradeoff_page.h"

namespace sf::ui {

// The runs of this start and the results folders opened, beside the Forecast form: a frame over
// pages that keep their own state. Above, the runs list (comparing the runs selected) and the
// totals with the warnings and notes; in the middle the figures table; below, the tabs of the
// selected row's series, the trade-off over tau, the scenario, the next deliveries, the season
// and every sales point by name with the series of the one selected. The frame
// keeps their layout, its place beside the form, the file actions and the wiring: which run the
// pages show, in which evaluation, and what is asked of it. Not modal; each complete run or
// opened folder is added to the list and shown.
class ResultsWindow : public QWidget {
    Q_OBJECT

  public:
    ResultsWindow(QWidget& form, MessageSink& messages);

    // Adds a complete run to the list of this start's runs and shows it in place of the one
    // shown, answering the boxes as they stand. warnings: the run's health warnings as the
    // form showed them, a line each.
    void ShowRun(std::shared_ptr<CompletedRun> run, const std::vector<std::string>& warnings);
    // What a run under way rules out: another run.
    void SetRunning(bool running);
    void SetDemandCheck(RunsList::DemandCheck check) { runs_->SetDemandCheck(std::move(check)); }

    // The evaluation the totals, the table and the charts show.
    Evaluation ShownEvaluation() const { return totals_->Shown(); }
    void ShowEvaluation(Evaluation evaluation);

    // What the buttons and their keys do; the To variants take the file or folder a dialog
    // would ask for. A failure is shown as an error naming the file.
    void ChooseExportFolder();
    bool ExportTo(const QString& folder);
    // Reads an export folder off the window's thread and adds its run to the list; a folder
    // refused is shown as an error naming the file, and nothing else changes.
    void ChooseResultsFolder();
    void OpenResultsFolder(const QString& folder);
    // The locale the boxes of an opened folder's run are shown in, the form's.
    void SetShownLocale(const NumberLocale& locale) { locale_ = locale; }
    void ChooseChartFile();
    bool SaveChartTo(const QString& path);
    void OpenReport();
    void CopyTable();

  signals:
    // The band's offer: the run again with the constants kept within 0 and 1, on its demand.
    void BoundedRerunRequested(std::shared_ptr<const CompletedRun> run);
    // "Same demand as": the boxes as they stand, on the demand of run, named name in the list.
    void SameDemandRequested(std::shared_ptr<const CompletedRun> run, const QString& name);
    // An opened results folder was read: its run is listed, or the refusal was shown.
    void ResultsFolderOpened();

  protected:
    // Coming back from the form, the same-demand button says whether the boxes allow it.
    bool event(QEvent* event) override;
    // A smaller window keeps the header within its share, so the table and charts keep room.
    void resizeEvent(QResizeEvent* event) override;
    // Closed, or hidden with the form: its size and place are kept for the next start.
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* BuildHeader();
    QWidget* BuildCharts();
    QWidget* BuildButtons();
    void Wire();
    void PlaceBesideForm(const QWidget& form);
    // Gives the header the height it needs, within its share of the window.
    void FitHeader();
    // A short window shows the table in a tab of its own, before the charts; a tall one between
    // the header and the charts. Says whether the table moved.
    bool PlaceTable();
    bool TableInTabs() const;

    // Shows one run of the list alone.
    void Present(std::shared_ptr<CompletedRun> run);
    // Shows the runs selected side by side; first is the first of them.
    void Compare(std::shared_ptr<CompletedRun> first);
    void ShowTable();
    void DrawSelectedRow();
    // Asks the run what the pages' boxes ask, shows the answers and redraws the trade-off.
    void AskAgain();
    void DrawTradeoff();
    QString Caption() const;
    ChartPanel& VisibleChart() const;
    void Say(const QString& text);

    MessageSink& messages_;
    std::shared_ptr<CompletedRun> run_;  // shown, or the first of those compared
    bool placed_ = false;
    NumberLocale locale_;

    RunsList* runs_ = nullptr;
    TotalsPanel* totals_ = nullptr;
    FiguresPage* figures_ = nullptr;
    ChartPanel* salesPointChart_ = nullptr;
    ChartPanel* constantsChart_ = nullptr;
    TradeoffPage* tradeoff_ = nullptr;
    ScenarioPage* scenario_ = nullptr;
    NextDeliveriesPage* nextDeliveries_ = nullptr;
    SalesPointsPage* salesPoints_ = nullptr;
    SeasonPage* season_ = nullptr;
    QScrollArea* header_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* charts_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace sf::ui
