#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>
#include <memory>
#include <optional>

#include "ui/chart_builder.h"
#include "ui/completed_run.h"
#include "ui/figures_table_model.h"
#include "ui/message_sink.h"
#include "ui/next_deliveries_page.h"

namespace sf::ui {

// The results of the last complete run beside the Forecast form: the scenario and the totals,
// the warnings, the figures per sales point, the series of the selected sales point and the
// trade-off over tau with the answers to a target fill rate and to costs. Not modal; the next
// run refreshes it.
class ResultsWindow : public QWidget {
    Q_OBJECT

  public:
    ResultsWindow(QWidget& form, MessageSink& messages);

    // Shows a complete run in place of the one shown, answering the boxes as they stand.
    // warnings: the run's health warnings as the form showed them, a line each.
    void ShowRun(std::shared_ptr<CompletedRun> run, const std::vector<std::string>& warnings);

    // What the buttons and their keys do; the To variants take the file or folder a dialog
    // would ask for. A failure is shown as an error naming the file.
    void ChooseExportFolder();
    bool ExportTo(const QString& folder);
    void ChooseChartFile();
    bool SaveChartTo(const QString& path);
    void OpenReport();
    void CopyTable();

  private:
    QWidget* BuildHeader();
    QWidget* BuildTable();
    QWidget* BuildCharts();
    QWidget* BuildTradeoffPage();
    QWidget* BuildButtons();
    void PlaceBesideForm(const QWidget& form);

    void ShowScenario();
    void ShowTotals();
    void ShowWarnings();
    void SelectSalesPoint(int salesPoint);
    void DrawSelectedSalesPoint();
    // Reads the target and cost boxes, answers them from the run's results and redraws the
    // trade-off.
    void AskAgain();
    ChartPanel& VisibleChart() const;
    void Say(const QString& text);

    MessageSink& messages_;
    std::shared_ptr<CompletedRun> run_;
    int selectedSalesPoint_ = 1;
    bool placed_ = false;

    QWidget* scenario_ = nullptr;  // a form of labels, filled by ShowScenario
    QWidget* totals_ = nullptr;
    QLabel* warning_ = nullptr;
    FiguresTableModel* figures_ = nullptr;
    FiguresSortModel* sorted_ = nullptr;
    QTableView* table_ = nullptr;
    QTabWidget* charts_ = nullptr;
    ChartPanel* salesPointChart_ = nullptr;
    ChartPanel* constantsChart_ = nullptr;
    ChartPanel* tradeoffChart_ = nullptr;
    NextDeliveriesPage* nextDeliveries_ = nullptr;
    QLineEdit* targetFillRate_ = nullptr;
    QLineEdit* lostSaleCost_ = nullptr;
    QLineEdit* returnCost_ = nullptr;
    QLabel* targetAnswer_ = nullptr;
    QLabel* costAnswer_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace sf::ui
