#pragma once

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "runtime/number_locale.h"
#include "ui/chart_builder.h"
#include "ui/completed_run.h"
#include "ui/figures_table_model.h"
#include "ui/message_sink.h"
#include "ui/next_deliveries_page.h"

namespace sf::ui {

class CheckTable;

// The results of the last complete run beside the Forecast form: the scenario and the totals of
// the evaluation shown, the warnings and notes, the figures per sales point, the series of the
// selected row and the trade-off over tau with the answers to a target fill rate and to costs.
// Not modal; the next run refreshes it.
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
    // What keeps the boxes as they stand from the demand of a run: none when nothing does.
    using DemandCheck = std::function<std::optional<QString>(const CompletedRun& run)>;
    void SetDemandCheck(DemandCheck check) { demandCheck_ = std::move(check); }

    // The evaluation the totals, the table and the charts show.
    Evaluation ShownEvaluation() const { return evaluation_; }
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

  private:
    QWidget* BuildHeader();
    QWidget* BuildTable();
    QWidget* BuildCharts();
    QWidget* BuildTradeoffPage();
    QWidget* BuildButtons();
    void PlaceBesideForm(const QWidget& form);
    // Gives the header the height it needs, within its share of the window.
    void FitHeader();

    // Shows one run of the list, or the runs selected side by side.
    void Present(std::shared_ptr<CompletedRun> run);
    void RunSelectionChanged();
    void CheckSameDemand();
    QString RunName(std::size_t at) const;
    QString RunLine(std::size_t at) const;
    void ShowScenario();
    void ShowTotals();
    void ShowWarningsAndNotes();
    void ShowTable();
    void SelectRow(const RowSubject& row);
    void DrawSelectedRow();
    // Reads the target and cost boxes, answers them from the run's results and redraws the
    // trade-off.
    void AskAgain();
    void DrawTradeoff();
    QString Caption() const;
    ChartPanel& VisibleChart() const;
    void Say(const QString& text);

    MessageSink& messages_;
    std::shared_ptr<CompletedRun> run_;                // shown, or the first of those compared
    std::vector<std::shared_ptr<CompletedRun>> runs_;  // of this start, in the list's order
    DemandCheck demandCheck_;
    std::size_t droppedRuns_ = 0;  // the oldest runs, let go to keep the list's memory bounded
    std::vector<std::size_t> compared_;  // the places in runs_ shown side by side; two or more
    Evaluation evaluation_ = Evaluation::asForecast;
    Evaluation chosen_ = Evaluation::asForecast;  // by the user; shown where the run has it
    RowSubject selected_{RowSubject::Kind::salesPoint, 1};
    bool running_ = false;
    bool placed_ = false;
    NumberLocale locale_;

    QScrollArea* header_ = nullptr;
    QListWidget* runList_ = nullptr;
    QPushButton* sameDemand_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* scenario_ = nullptr;  // a form of labels, filled by ShowScenario
    QWidget* totals_ = nullptr;
    QGridLayout* totalsGrid_ = nullptr;
    QLabel* totalsDescription_ = nullptr;
    QRadioButton* asForecast_ = nullptr;
    QRadioButton* asReported_ = nullptr;
    QWidget* band_ = nullptr;
    QLabel* warning_ = nullptr;
    QPushButton* boundedRerun_ = nullptr;
    CheckTable* check_ = nullptr;
    QLabel* notes_ = nullptr;
    QLabel* tableCaption_ = nullptr;
    FiguresTableModel* figures_ = nullptr;
    FiguresSortModel* sorted_ = nullptr;
    QTableView* table_ = nullptr;
    QTabWidget* charts_ = nullptr;
    ChartPanel* salesPointChart_ = nullptr;
    ChartPanel* constantsChart_ = nullptr;
    ChartPanel* tradeoffChart_ = nullptr;
    QCheckBox* bothEvaluations_ = nullptr;
    NextDeliveriesPage* nextDeliveries_ = nullptr;
    QLineEdit* targetFillRate_ = nullptr;
    QLineEdit* lostSaleCost_ = nullptr;
    QLineEdit* returnCost_ = nullptr;
    QLabel* targetAnswer_ = nullptr;
    QLabel* costAnswer_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace sf::ui
