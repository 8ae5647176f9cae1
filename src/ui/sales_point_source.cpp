#include "ui/sales_point_source.h"

#include <utility>

#include "run/catalogue_run.h"
#include "state/quiet_observer.h"

namespace sf::ui {

SalesPointSource SalesPointSourceOf(std::shared_ptr<const CompletedRun> run,
                                    const NumberLocale& locale) {
    const RunInputs& inputs = run->record.inputs;
    if (run->folder.empty() && IsCatalogue(inputs)) {
        return [run, locale](int salesPoint) {
            // The run showed its notices already: the same sales point would show them again.
            QuietObserver quiet;
            CatalogueOutcome alone = RunSalesPointAlone(run->record.inputs, locale, quiet,
                                                        run->record.options, salesPoint);
            if (!alone.completed) {
                return SalesPointResults{{}, 0, QString::fromStdString(alone.message)};
            }
            return SalesPointResults{
                std::make_shared<const RunResults>(std::move(alone.results)), 1, {}};
        };
    }
    return [run](int salesPoint) {
        if (salesPoint < 1 ||
            salesPoint > static_cast<int>(run->results.series.salesPoints.size())) {
            return SalesPointResults{
                {}, 0, QStringLiteral("This run keeps no series of its sales points.")};
        }
        return SalesPointResults{
            std::shared_ptr<const RunResults>(run, &run->results), salesPoint, {}};
    };
}

}  // namespace sf::ui
