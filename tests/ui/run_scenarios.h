#pragma once

// The box texts the results window's suites run, and the same runs made without the window for
// reference.
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>
#include <map>
#include <memory>

#include "recording_observer.h"
#include "results/run_results.h"
#include "run/run_driver.h"
#include "runtime/number_locale.h"
#include "ui/completed_run.h"

// A box of the form, the batch command's option for it and where a run's inputs keep it.
struct Box {
    const char* name;
    const char* option;
    std::string sf::RunInputs::*field;
};

inline const Box kBoxes[] = {
    {"Endpointnumber", "--sales-points", &sf::RunInputs::Endpointnumber},
    {"Periodnumber", "--periods", &sf::RunInputs::Periodnumber},
    {"periodsforinitialization", "--init-periods", &sf::RunInputs::periodsforinitialization},
    {"periodsforalphabeta", "--alpha-beta-periods", &sf::RunInputs::periodsforalphabeta},
    {"warmuptx", "--warm-up", &sf::RunInputs::warmuptx},
    {"horizontx", "--horizon", &sf::RunInputs::horizontx},
    {"tau_tx", "--tau", &sf::RunInputs::tau_tx},
    {"p1low", "--p1-low", &sf::RunInputs::p1low},
    {"p1up", "--p1-up", &sf::RunInputs::p1up},
    {"p2low", "--p2-low", &sf::RunInputs::p2low},
    {"p2up", "--p2-up", &sf::RunInputs::p2up},
};

using Scenario = std::map<QString, QString>;  // box name to text

inline const Scenario kSmallRun = {
    {"Endpointnumber", "4"},
    {"Periodnumber", "30"},
    {"periodsforinitialization", "6"},
    {"periodsforalphabeta", "8"},
    {"warmuptx", "0"},
    {"horizontx", "1"},
    {"tau_tx", "0.5"},
    {"p1low", "10"},
    {"p1up", "30"},
    {"p2low", "1"},
    {"p2up", "3"},
};

// The same over more sales points and periods: the forecasts of sales point 10 diverge.
inline Scenario DivergingRun() {
    Scenario scenario = kSmallRun;
    scenario["Endpointnumber"] = "10";
    scenario["Periodnumber"] = "60";
    return scenario;
}

// What the window shows of the reference run: its headline evaluation.
inline sf::RunResults ResultsOf(const sf::RunState& state) {
    return sf::ComputeResults(state, sf::ResultsRequest{});
}

inline sf::RunInputs InputsOf(const Scenario& scenario) {
    sf::RunInputs inputs;
    for (const Box& box : kBoxes) {
        inputs.*box.field = scenario.at(box.name).toStdString();
    }
    return inputs;
}

inline QStringList BatchArguments(const Scenario& scenario) {
    QStringList arguments;
    for (const Box& box : kBoxes) {
        arguments << box.option << scenario.at(box.name);
    }
    return arguments;
}

// The runs of a program start, made without the window for reference; the report goes to the
// current folder.
struct ReferenceRuns {
    std::unique_ptr<sf::RunState> state = std::make_unique<sf::RunState>();
    sf::UniformSource source;
    RecordingObserver observer;
    sf::RunOutcome outcome;

    void Run(const Scenario& scenario) {
        outcome = sf::ExecuteRun(*state, source, InputsOf(scenario), sf::ReadUserNumberLocale(),
                                 "reference-out.txt", observer);
        QVERIFY(outcome.completed);
    }

    // The last run as the window takes it, with its health and the source at its start.
    sf::ui::CompletedRun Completed() const {
        return {ResultsOf(*state), {}, outcome.health, outcome.sourceAtStart, {}};
    }
};

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", qPrintable(path));
    }
    return file.readAll();
}
