#include "ui/season_page.h"

#include <QVBoxLayout>
#include <algorithm>

namespace sf::ui {

ChartContent SeasonChart(const RunSeries& series, int salesPoint, const QString& caption) {
    const SeasonTable& season = series.season;
    const std::vector<double>& indices = season.indices[static_cast<std::size_t>(salesPoint - 1)];
    ChartCurve curve{QObject::tr("season index"), {}, true, false};
    double highest = 1.0;
    for (std::size_t k = 0; k < indices.size(); ++k) {
        curve.points.append(QPointF(static_cast<double>(k + 1), indices[k]));
        highest = std::max(highest, indices[k]);
    }
    // Half a position of room either side, so the end markers show whole.
    const double last = static_cast<double>(season.length) + 0.5;
    ChartCurve level{QObject::tr("no season (1)"), {QPointF(0.5, 1.0), QPointF(last, 1.0)}};
    return {QObject::tr("Season indices of %1: %2")
                .arg(QString::fromStdString(series.Name(salesPoint)), caption),
            {QObject::tr("position (1 is period 1's)"), 0, {0.5, last}},
            {QObject::tr("index"), 2, {0.0, highest}},
            std::nullopt,
            {curve, level}};
}

SeasonPage::SeasonPage() {
    setObjectName(QStringLiteral("SeasonPage"));
    auto* layout = new QVBoxLayout(this);
    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("SeasonNote"));
    note_->setWordWrap(true);
    chart_ = new ChartPanel;
    chart_->setObjectName(QStringLiteral("SeasonChart"));
    layout->addWidget(note_);
    layout->addWidget(chart_, 1);
}

void SeasonPage::Show(const RunSeries& series, int salesPoint, const QString& caption) {
    const bool shown = series.season.Active() && salesPoint >= 1 &&
                       salesPoint <= static_cast<int>(series.season.indices.size());
    chart_->setVisible(shown);
    if (!series.season.Active()) {
        note_->setText(tr("This run has no season (Options > Season length...)."));
    } else if (!shown) {
        note_->setText(tr("Select a sales point in the table to see its season indices."));
    } else {
        note_->setText(
            tr("Demand was divided by these indices before the forecast, and every "
               "forecast, sigma and delivery multiplied back by its period's; a "
               "closed position has index 0."));
        chart_->Draw(SeasonChart(series, salesPoint, caption));
    }
}

}  // namespace sf::ui
