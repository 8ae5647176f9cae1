#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <memory>

#include "runtime/number_locale.h"
#include "ui/forecast_window.h"
#include "ui/message_sink.h"
#include "ui/window_memory.h"

namespace sf::ui {

// The program's window: the menu bar over the Forecast form, which keeps its own size.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    MainWindow(NumberLocale locale, std::unique_ptr<MessageSink> messages);

    ForecastWindow& Form() { return *form_; }

    // Fills the form from a scenario file. A file that cannot be used is refused with a message
    // naming what is wrong, and the form stays as it was.
    bool OpenScenario(const QString& path);
    // Keeps the form's boxes, model and options in a scenario file.
    bool SaveScenario(const QString& path);
    // The form as a new start finds it with nothing remembered: the boxes, model and options
    // as described, simulated demand and the report in its default place.
    void NewScenario();
    // The boxes of the batch command's --example: a small scenario to start from.
    void LoadExample();
    // Where the next runs write the report, shown in the status bar and remembered.
    void SetReportFile(const QString& path);
    QString ReportFile() const;

  protected:
    // Closing asks the form, which stops a run first; the form is remembered for the next
    // start.
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateMenus();
    void FillRecentMenu(QMenu& menu, RecentKind kind);
    void RestoreRemembered();
    void ShowReportFile(const QString& path);
    void UseDefaultReportFile();
    void ChooseReportFile();
    void ChooseScenarioToOpen();
    void ChooseScenarioToSave();
    void ShowHelp();
    void ShowAbout();
    // Options > Season length...: the dialog, and the action's tooltip saying what is set.
    void ChooseSeasonLength();
    void ShowSeasonLength(int length);
    QString ScenarioFolder() const;
    void RememberFolder(const QString& path);

    MessageSink& messages_;  // owned by the form
    ForecastWindow* form_ = nullptr;
    QAction* boundedConstants_ = nullptr;
    QAction* seasonLength_ = nullptr;
    QLabel* reportFile_ = nullptr;  // in the status bar
    QString currentScenario_;       // the file last opened or saved, offered by Save
    QPointer<QWidget> helpPage_;
};

}  // namespace sf::ui
