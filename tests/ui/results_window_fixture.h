#pragma once

// What the results window's suites start each test from: a folder and settings of its own, the
// Forecast form with its messages recorded, and the reference runs of a program start.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "run_scenarios.h"
#include "ui/forecast_window.h"
#include "ui/form_layout.h"
#include "ui/results_window.h"
#include "window_test_support.h"

class ResultsWindowFixture {
  protected:
    static void StartSuite() {
        QStandardPaths::setTestModeEnabled(true);  // settings of their own, not the user's
        QApplication::setStyle(sf::ui::kFormStyle);
    }

    void Open() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(folder_->path()));
        // Each test's own settings: the place one test leaves the window in is not the next's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           folder_->filePath("settings"));
        form_ = OpenForm(messages_);
        reference_ = std::make_unique<ReferenceRuns>();
    }

    void Close() {
        form_.reset();
        QDir::setCurrent(QDir::tempPath());
        folder_.reset();
    }

    template <typename T>
    static T& Child(const QWidget& parent, const QString& name) {
        T* child = parent.findChild<T*>(name);
        if (child == nullptr) {
            qFatal("no child %s", qPrintable(name));
        }
        return *child;
    }

    // Types the scenario into the form, runs it and waits for the results window.
    sf::ui::ResultsWindow& RunInForm(const Scenario& scenario) {
        for (const auto& [name, text] : scenario) {
            Child<QLineEdit>(*form_, name).setText(text);
        }
        Child<QPushButton>(*form_, "Run").click();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(Child<QWidget>(*form_, "Run").isEnabled(), 30000); }();
        auto* results = form_->findChild<sf::ui::ResultsWindow*>();
        if (results == nullptr || !results->isVisible()) {
            qFatal("the results window did not open");
        }
        return *results;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<sf::ui::ForecastWindow> form_;
    std::unique_ptr<ReferenceRuns> reference_;
    RecordingMessages* messages_ = nullptr;
};
