#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "ui/chart_content.h"

class QCategoryAxis;
class QChart;
class QLabel;
class QChartView;
class QValueAxis;

namespace sf::ui {

// One chart on screen. Drawing content of the same shape as the last refills the curves in
// place, which keeps a new selection quick; numbers follow the user's locale. A line under the
// chart reads the curves at the pointer; the wheel zooms about the pointer, a double click
// shows the whole chart again. A horizontal axis with labels names its ticks, and the value under
// the pointer, by them.
// The periods between the labels of a horizontal axis over span periods: for dates, steps a
// calendar counts in (months by 1, 2, 3, 6, 12...; weeks by 1, 2, 4, 13, 26, 52...), else 1, 2
// or 5 times a power of ten.
double LabelStep(const QStringList& labels, double span);

// The least height of a chart whose axis labels and titles show whole.
inline constexpr int kLeastChartHeight = 250;

class ChartPanel : public QWidget {
    Q_OBJECT

  public:
    explicit ChartPanel(QWidget* parent = nullptr);

    void Draw(const ChartContent& content);

    // What the line under the chart says: the curves' values at the pointer, or how to zoom.
    QString Readout() const;
    // The ranges the axes show now.
    std::pair<double, double> HorizontalRange() const;
    std::pair<double, double> VerticalRange() const;

    // The points the chart holds for the curve of that name; empty when there is none.
    QList<QPointF> Points(const QString& curveName) const;
    QStringList CurveNames() const;
    QString Title() const;

    // PNG or SVG by the file's suffix (PNG for any other). The file is replaced only by a
    // complete one; the message naming the file when it cannot be written.
    std::optional<QString> SaveAs(const QString& path) const;

  private:
    // What decides the chart's objects: which curves are markers, which follow the right-hand
    // axis, and whether there is one.
    struct Shape {
        std::vector<std::pair<bool, bool>> curves;  // marker, right axis
        bool rightAxis = false;
        bool labelledX = false;
        bool operator==(const Shape&) const = default;
    };

    static Shape ShapeOf(const ChartContent& content);
    void Rebuild(const Shape& shape);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ReadAt(const QPointF& position);
    void ZoomAbout(const QPointF& position, double factor);
    void ShowWhole();
    // The horizontal axis in use: the one of numbers, or the one of labels.
    QValueAxis* ShownX() const;
    void SetHorizontal(const ChartAxis& described);

    QChartView* view_ = nullptr;
    QChart* chart_ = nullptr;
    QValueAxis* x_ = nullptr;
    QCategoryAxis* labelledX_ = nullptr;
    QValueAxis* y_ = nullptr;
    QValueAxis* rightY_ = nullptr;
    QLabel* readout_ = nullptr;
    std::optional<Shape> shape_;
    // The axes of the content drawn, to which a double click returns.
    ChartAxis drawnX_;
    ChartAxis drawnY_;
    std::optional<ChartAxis> drawnRightY_;
};

// Asks where to save a chart, suggesting a path; PNG or SVG, the suffix of the type chosen added
// where none was typed. Empty when the user cancelled.
QString AskChartFile(QWidget& parent, const QString& suggested);

}  // namespace sf::ui
