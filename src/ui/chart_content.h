#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace sf::ui {

// What a chart shows, in plain points and ranges: the charts are described this way, and only
// ChartPanel knows the chart library, so that changing the library touches that unit alone.
struct ChartCurve {
    QString name;  // in the legend
    QList<QPointF> points;
    bool marker = false;     // points drawn as markers rather than a line
    bool rightAxis = false;  // measured against the right-hand axis
};

struct ChartAxis {
    QString title;
    int decimals = 0;  // of the labels
    // A vertical axis widens it to round numbers; the horizontal axis spans it exactly.
    std::pair<double, double> range{0.0, 1.0};
    // The names of the values 1, 2, ... in place of their numbers: the dates of the periods.
    QStringList labels{};
};

struct ChartContent {
    QString title;
    ChartAxis x;
    ChartAxis y;
    std::optional<ChartAxis> rightY;
    std::vector<ChartCurve> curves;
};

}  // namespace sf::ui
