#pragma once

// The suites of the results window's pages, run by one program: each page alone, without the
// window or the form.
#include <QObject>
#include <memory>

std::unique_ptr<QObject> ChartPanelTests();
std::unique_ptr<QObject> FiguresPageTests();
std::unique_ptr<QObject> NextDeliveriesPageTests();
std::unique_ptr<QObject> TotalsPanelTests();
std::unique_ptr<QObject> TradeoffPageTests();
std::unique_ptr<QObject> WindowPlacementTests();
