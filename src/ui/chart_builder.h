#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "ui/chart_content.h"

class QChart;
class QChartView;
class QValueAxis;

namespace sf::ui {

// One chart on screen. Drawing content of the same shape as the last refills the curves in
// place, which keeps a new selection quick; numbers follow the user's locale.
class ChartPanel : public QWidget {
    Q_OBJECT

  public:
    explicit ChartPanel(QWidget* parent = nullptr);

    void Draw(const ChartContent& content);

    // The points the chart holds for the curve of that name; empty when there is none.
    QList<QPointF> Points(const QString& curveName) const;
    QStringList CurveNames() const;

    // PNG or SVG by the file's suffix (PNG for any other). The file is replaced only by a
    // complete one; the message naming the file when it cannot be written.
    std::optional<QString> SaveAs(const QString& path) const;

  private:
    // What decides the chart's objects: which curves are markers, which follow the right-hand
    // axis, and whether there is one.
    struct Shape {
        std::vector<std::pair<bool, bool>> curves;  // marker, right axis
        bool rightAxis = false;
        bool operator==(const Shape&) const = default;
    };

    static Shape ShapeOf(const ChartContent& content);
    void Rebuild(const Shape& shape);

    QChartView* view_ = nullptr;
    QChart* chart_ = nullptr;
    QValueAxis* x_ = nullptr;
    QValueAxis* y_ = nullptr;
    QValueAxis* rightY_ = nullptr;
    std::optional<Shape> shape_;
};

}  // namespace sf::ui
