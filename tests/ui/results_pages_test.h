#pragma once

// The suites of the results window's pages, run by one program: each page alone, without the
// window or the form.
#include <QDir>
#include <QLocale>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>

#include "run_scenarios.h"

std::unique_ptr<QObject> ChartPanelTests();
std::unique_ptr<QObject> FiguresPageTests();
std::unique_ptr<QObject> NextDeliveriesPageTests();
std::unique_ptr<QObject> SalesPointsPageTests();
std::unique_ptr<QObject> SeasonPageTests();
std::unique_ptr<QObject> TotalsPanelTests();
std::unique_ptr<QObject> TabNamesTests();
std::unique_ptr<QObject> TradeoffPageTests();
std::unique_ptr<QObject> WindowPlacementTests();

// The named child of a page; the suite stops where there is none.
template <typename T>
T& Child(const QWidget& parent, const QString& name) {
    T* child = parent.findChild<T*>(name);
    if (child == nullptr) {
        qFatal("no child %s", qPrintable(name));
    }
    return *child;
}

// What each page suite starts a test from: a folder of its own for the reports and files, the
// reference runs of a program start, and the locale put back afterwards.
class PageSuite : public QObject {
    Q_OBJECT

  protected:
    std::unique_ptr<ReferenceRuns> reference_;

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(folder_->path()));
        reference_ = std::make_unique<ReferenceRuns>();
    }

    void cleanup() {
        reference_.reset();
        QLocale::setDefault(QLocale::c());
        QDir::setCurrent(QDir::tempPath());
        folder_.reset();
    }

  private:
    std::unique_ptr<QTemporaryDir> folder_;
};
