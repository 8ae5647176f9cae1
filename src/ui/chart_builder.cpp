#include "ui/chart_builder.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QSaveFile>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

#include "history/history_dates.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

constexpr qreal kMarkerSize = 11.0;
constexpr qreal kLineWidth = 2.0;
// Curves take these colours in their order, so that no two curves of a chart share one.
constexpr QRgb kPalette[] = {0x1f77b4, 0x2ca02c, 0xff7f0e, 0x9467bd,
                             0xd62728, 0x17becf, 0x8c564b, 0xe377c2};
// About this many ticks along the horizontal axis.
constexpr double kXTicks = 8.0;
// A step of the wheel narrows or widens the axes by this factor.
constexpr double kZoomStep = 1.25;
constexpr int kReadoutDecimals = 4;

const char kZoomHint[] = "Wheel: zoom about the pointer. Double click: the whole chart.";

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

template <typename Axis = QValueAxis>
Axis* NewAxis(QChart& chart, Qt::Alignment side) {
    auto* axis = new Axis;
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

// Labels of forecasts that ran away are written compactly, as the table writes them.
void SetUpAxis(QValueAxis& axis, const ChartAxis& described) {
    axis.setTitleText(described.title);
    const auto [low, high] = described.range;
    axis.setLabelFormat(std::max(std::abs(low), std::abs(high)) >= kCompactFrom
                            ? QStringLiteral("%.1E")
                            : QStringLiteral("%.%1f").arg(described.decimals));
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

}  // namespace

double LabelStep(const QStringList& labels, double span) {
    const double rough = span / kXTicks;
    const std::optional<std::chrono::sys_days> first =
        labels.size() > 1 ? IsoDate(labels[0].toStdString()) : std::nullopt;
    const std::optional<std::chrono::sys_days> second =
        labels.size() > 1 ? IsoDate(labels[1].toStdString()) : std::nullopt;
    if (!first || !second) {
        return std::max(1.0, RoundStep(span, kXTicks));
    }
    // What a calendar counts in: months by quarters and years, weeks by quarters of a year.
    static constexpr std::array kMonths{1.0, 2.0, 3.0, 6.0, 12.0, 24.0, 60.0, 120.0};
    static constexpr std::array kWeeks{1.0, 2.0, 4.0, 13.0, 26.0, 52.0, 104.0, 260.0};
    static constexpr std::array kDays{1.0, 7.0, 14.0, 28.0, 91.0, 182.0, 364.0, 728.0};
    const int days = static_cast<int>((*second - *first).count());
    const std::array<double, 8>& steps = days >= 28 ? kMonths : days == 7 ? kWeeks : kDays;
    for (const double step : steps) {
        if (rough <= step) {
            return step;
        }
    }
    return steps.back() * std::ceil(rough / steps.back());
}

namespace {

// The labels stand at the ticks of a calendar's steps, on whole values only; they are put anew
// for each range, so that zooming in shows more of them.
void SetLabelledRange(QCategoryAxis& axis, const ChartAxis& described) {
    axis.setTitleText(described.title);
    for (const QString& label : axis.categoriesLabels()) {
        axis.remove(label);
    }
    const auto [low, high] = described.range;
    const double step = LabelStep(described.labels, high - low);
    axis.setStartValue(low);
    for (double at = std::ceil(low / step) * step; at <= high; at += step) {
        const auto value = static_cast<qsizetype>(at);
        if (value >= 1 && value <= described.labels.size()) {
            axis.append(described.labels[value - 1], at);
        }
    }
    axis.setRange(low, high);
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
    labelledX_ = NewAxis<QCategoryAxis>(*chart_, Qt::AlignBottom);
    labelledX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    labelledX_->setVisible(false);
    y_ = NewAxis(*chart_, Qt::AlignLeft);
    rightY_ = NewAxis(*chart_, Qt::AlignRight);
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    // Below this the axis labels and titles are cut to "...".
    view_->setMinimumHeight(kLeastChartHeight);
    view_->setFocusPolicy(Qt::NoFocus);  // nothing in a chart takes keys
    view_->setMouseTracking(true);
    view_->viewport()->installEventFilter(this);
    readout_ = new QLabel(QString::fromUtf8(kZoomHint));
    readout_->setObjectName(QStringLiteral("ChartReadout"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Whatever it reads, it never widens the window.
    readout_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(readout_);
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
    drawnX_ = content.x;
    drawnY_ = content.y;
    drawnRightY_ = content.rightY;
    ShowWhole();
}

QString ChartPanel::Readout() const {
    return readout_->text();
}

std::pair<double, double> ChartPanel::HorizontalRange() const {
    return {ShownX()->min(), ShownX()->max()};
}

std::pair<double, double> ChartPanel::VerticalRange() const {
    return {y_->min(), y_->max()};
}

bool ChartPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseMove:
            ReadAt(static_cast<QMouseEvent*>(event)->position());
            return false;
        case QEvent::Leave:
            readout_->setText(QString::fromUtf8(kZoomHint));
            return false;
        case QEvent::Wheel: {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->angleDelta().y() != 0) {
                ZoomAbout(wheel->position(),
                          wheel->angleDelta().y() > 0 ? kZoomStep : 1.0 / kZoomStep);
            }
            return true;
        }
        case QEvent::MouseButtonDblClick:
            ShowWhole();
            return true;
        default:
            return false;
    }
}

// The value of every line at the period or tau under the pointer: the point nearest to it.
void ChartPanel::ReadAt(const QPointF& position) {
    const QPointF scenePoint = view_->mapToScene(position.toPoint());
    const QPointF chartPoint = chart_->mapFromScene(scenePoint);
    if (!chart_->plotArea().contains(chartPoint)) {
        readout_->setText(QString::fromUtf8(kZoomHint));
        return;
    }
    const double x = chart_->mapToValue(chartPoint).x();
    QStringList values;
    for (QAbstractSeries* series : chart_->series()) {
        const auto* curve = static_cast<const QXYSeries*>(series);
        if (qobject_cast<const QScatterSeries*>(curve) != nullptr || curve->count() == 0) {
            continue;
        }
        const QList<QPointF> points = curve->points();
        const auto after =
            std::lower_bound(points.begin(), points.end(), x,
                             [](const QPointF& point, double value) { return point.x() < value; });
        auto nearest = after == points.end() ? after - 1 : after;
        if (after != points.begin() && after != points.end() &&
            x - (after - 1)->x() < after->x() - x) {
            nearest = after - 1;
        }
        values << QStringLiteral("%1 %2").arg(curve->name(),
                                              ScreenShort(nearest->y(), kReadoutDecimals));
    }
    QString at = ScreenShort(x, drawnX_.decimals);
    const auto period = static_cast<qsizetype>(std::lround(x));
    if (period >= 1 && period <= drawnX_.labels.size()) {
        at = QStringLiteral("%1 (period %2)").arg(drawnX_.labels[period - 1]).arg(period);
    }
    readout_->setText(QStringLiteral("%1 %2: %3")
                          .arg(ShownX()->titleText(), at, values.join(QStringLiteral(", "))));
}

void ChartPanel::ZoomAbout(const QPointF& position, double factor) {
    const QPointF chartPoint = chart_->mapFromScene(view_->mapToScene(position.toPoint()));
    const QPointF centre = chart_->mapToValue(chartPoint);
    const auto narrowed = [factor](QValueAxis& axis, double about) {
        return std::pair(about - (about - axis.min()) / factor,
                         about + (axis.max() - about) / factor);
    };
    if (drawnRightY_) {
        // About the same height of the plot as the left-hand axis.
        const double share = (centre.y() - y_->min()) / (y_->max() - y_->min());
        const double about = rightY_->min() + share * (rightY_->max() - rightY_->min());
        const auto [low, high] = narrowed(*rightY_, about);
        rightY_->setRange(low, high);
    }
    ChartAxis x = drawnX_;
    x.range = narrowed(*ShownX(), centre.x());
    SetHorizontal(x);
    const auto [yLow, yHigh] = narrowed(*y_, centre.y());
    y_->setRange(yLow, yHigh);
}

QValueAxis* ChartPanel::ShownX() const {
    return shape_ && shape_->labelledX ? labelledX_ : x_;
}

void ChartPanel::SetHorizontal(const ChartAxis& described) {
    if (ShownX() == labelledX_) {
        SetLabelledRange(*labelledX_, described);
    } else {
        SetHorizontalRange(*x_, described);
    }
}

void ChartPanel::ShowWhole() {
    SetHorizontal(drawnX_);
    SetVerticalRange(*y_, drawnY_);
    if (drawnRightY_) {
        SetVerticalRange(*rightY_, *drawnRightY_);
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

QString ChartPanel::Title() const {
    return chart_->title();
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
    shape.labelledX = !content.x.labels.isEmpty();
    return shape;
}

void ChartPanel::Rebuild(const Shape& shape) {
    // The axes stay: only the curves are made anew.
    chart_->removeAllSeries();
    rightY_->setVisible(shape.rightAxis);
    x_->setVisible(!shape.labelledX);
    labelledX_->setVisible(shape.labelledX);
    QValueAxis* x = shape.labelledX ? static_cast<QValueAxis*>(labelledX_) : x_;
    for (std::size_t at = 0; at < shape.curves.size(); ++at) {
        const auto [marker, rightAxis] = shape.curves[at];
        QXYSeries* curve = NewCurve(marker, at);
        chart_->addSeries(curve);
        curve->attachAxis(x);
        curve->attachAxis(rightAxis && shape.rightAxis ? rightY_ : y_);
    }
    shape_ = shape;
}

QString AskChartFile(QWidget& parent, const QString& suggested) {
    static const QString png = QStringLiteral("PNG image (*.png)");
    static const QString svg = QStringLiteral("SVG drawing (*.svg)");
    QString filter = png;
    QString path =
        QFileDialog::getSaveFileName(&parent, QStringLiteral("Save the chart"), suggested,
                                     QStringLiteral("%1;;%2").arg(png, svg), &filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += filter == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    }
    return path;
}

}  // namespace sf::ui
