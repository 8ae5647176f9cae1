#pragma once

#include <QAction>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>

#include "runtime/number_locale.h"
#include "ui/forecast_window.h"
#include "ui/message_sink.h"

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

  protected:
    // Closing asks the form, which stops a run first.
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateMenus();
    void ChooseScenarioToOpen();
    void ChooseScenarioToSave();
    void ShowHelp();
    void ShowAbout();
    QString ScenarioFolder() const;
    void RememberFolder(const QString& path);

    MessageSink& messages_;  // owned by the form
    ForecastWindow* form_ = nullptr;
    QAction* boundedConstants_ = nullptr;
    QString currentScenario_;  // the file last opened or saved, offered by Save
    QPointer<QWidget> helpPage_;
};

}  // namespace sf::ui
