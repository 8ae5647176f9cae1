#include "ui/chart_builder.h"

#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QSaveFile>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace sf::ui {
namespace {

constexpr qreal kMarkerSize = 11.0;
constexpr qreal kLineWidth = 2.0;
// Curves take these colours in their order, so that no two curves of a chart share one.
constexpr QRgb kPalette[] = {0x1f77b4, 0x2ca02c, 0xff7f0e, 0x9467bd,
                             0xd62728, 0x17becf, 0x8c564b, 0xe377c2};
// About this many ticks along the horizontal axis.
constexpr double kXTicks = 8.0;

QXYSeries* NewCurve(bool marker, std::size_t order) {
    const QColor colour(kPalette[order % std::size(kPalette)]);
    if (!marker) {
        auto* line = new QLineSeries;
        line->setPen(QPen(colour, kLineWidth));
        return line;
    }
    auto* markers = new QScatterSeries;
    markers->setMarkerSize(kMarkerSize);
    markers->setColor(colour);
    markers->setBorderColor(colour.darker());
    return markers;
}

QValueAxis* NewAxis(QChart& chart, Qt::Alignment side) {
    auto* axis = new QValueAxis;
    chart.addAxis(axis, side);
    return axis;
}

// 1, 2 or 5 times a power of ten, near span / ticks.
double RoundStep(double span, double ticks) {
    const double rough = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (rough <= factor * power) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

void SetUpAxis(QValueAxis& axis, const ChartAxis& described) {
    axis.setTitleText(described.title);
    axis.setLabelFormat(QStringLiteral("%.%1f").arg(described.decimals));
}

// The vertical axes end on round numbers.
void SetVerticalRange(QValueAxis& axis, const ChartAxis& described) {
    SetUpAxis(axis, described);
    axis.setRange(described.range.first, described.range.second);
    axis.applyNiceNumbers();
}

// The horizontal axis spans its range exactly, with ticks on round numbers.
void SetHorizontalRange(QValueAxis& axis, const ChartAxis& described) {
    SetUpAxis(axis, described);
    const auto [low, high] = described.range;
    axis.setRange(low, high);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0.0);
    axis.setTickInterval(RoundStep(high - low, kXTicks));
}

QString WriteFailure(const QString& path, const QString& reason) {
    return QStringLiteral("The chart could not be saved as \"%1\": %2").arg(path, reason);
}

}  // namespace

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent) {
    chart_ = new QChart;
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setLocalizeNumbers(true);
    chart_->setLocale(QLocale());
    chart_->legend()->setAlignment(Qt::AlignRight);
    x_ = NewAxis(*chart_, Qt::AlignBottom);
    y_ = NewAxis(*chart_, Qt::AlignLeft);
    rightY_ = NewAxis(*chart_, Qt::AlignRight);
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setFocusPolicy(Qt::NoFocus);  // nothing in a chart takes keys
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

void ChartPanel::Draw(const ChartContent& content) {
    const Shape shape = ShapeOf(content);
    if (shape_ != shape) {
        Rebuild(shape);
    }
    chart_->setTitle(content.title);
    const QList<QAbstractSeries*> curves = chart_->series();
    for (std::size_t at = 0; at < content.curves.size(); ++at) {
        auto* curve = static_cast<QXYSeries*>(curves[static_cast<qsizetype>(at)]);
        curve->setName(content.curves[at].name);
        curve->replace(content.curves[at].points);
    }
    SetHorizontalRange(*x_, content.x);
    SetVerticalRange(*y_, content.y);
    if (content.rightY) {
        SetVerticalRange(*rightY_, *content.rightY);
    }
}

QList<QPointF> ChartPanel::Points(const QString& curveName) const {
    for (QAbstractSeries* curve : chart_->series()) {
        if (curve->name() == curveName) {
            return static_cast<QXYSeries*>(curve)->points();
        }
    }
    return {};
}

QStringList ChartPanel::CurveNames() const {
    QStringList names;
    for (const QAbstractSeries* curve : chart_->series()) {
        names << curve->name();
    }
    return names;
}

std::optional<QString> ChartPanel::SaveAs(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return WriteFailure(path, file.errorString());
    }
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator drawing;
        drawing.setOutputDevice(&file);
        drawing.setSize(view_->size());
        drawing.setViewBox(view_->rect());
        drawing.setTitle(chart_->title());
        QPainter painter;
        if (!painter.begin(&drawing)) {
            return WriteFailure(path, QStringLiteral("the drawing could not be started"));
        }
        view_->render(&painter);
        painter.end();
    } else if (!view_->grab().save(&file, "PNG")) {
        return WriteFailure(path, file.errorString());
    }
    if (!file.commit()) {
        return WriteFailure(path, file.errorString());
    }
    return std::nullopt;
}

ChartPanel::Shape ChartPanel::ShapeOf(const ChartContent& content) {
    Shape shape;
    for (const ChartCurve& curve : content.curves) {
        shape.curves.emplace_back(curve.marker, curve.rightAxis);
    }
    shape.rightAxis = content.rightY.has_value();
    return shape;
}

void ChartPanel::Rebuild(const Shape& shape) {
    // The axes stay: only the curves are made anew.
    chart_->removeAllSeries();
    rightY_->setVisible(shape.rightAxis);
    for (std::size_t at = 0; at < shape.curves.size(); ++at) {
        const auto [marker, rightAxis] = shape.curves[at];
        QXYSeries* curve = NewCurve(marker, at);
        chart_->addSeries(curve);
        curve->attachAxis(x_);
        curve->attachAxis(rightAxis && shape.rightAxis ? rightY_ : y_);
    }
    shape_ = shape;
}

}  // namespace sf::ui
