#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "runtime/invariants.h"
#include "state/demand_model.h"
#include "state/season.h"

namespace sf {

inline constexpr int kMaxSalesPoints = 100;
inline constexpr int kMaxPeriods = 600;
inline constexpr int kSalesPointSlots = kMaxSalesPoints + 1;  // index 0 is never used
inline constexpr int kPeriodSlots = kMaxPeriods + 1;

// The periods 0..600 of one sales point in a matrix, indexed by period; checked where the index
// checks are on.
template <class Cell>
class PeriodRow {
  public:
    explicit PeriodRow(Cell* periods) : periods_(periods) {}
    template <class Other>
    requires std::is_convertible_v<Other*, Cell*> PeriodRow(PeriodRow<Other> row)
        : periods_(row.data()) {}  // a writable row reads as const

    Cell& operator[](int period) const {
        CheckIndex("period", period, kPeriodSlots);
        return periods_[period];
    }
    Cell* data() const { return periods_; }

  private:
    Cell* periods_;
};

inline constexpr int kMatrixCells = kSalesPointSlots * kPeriodSlots;

// Doubles by sales point 0..100 and period 0..600. The periods of one sales point lie side by
// side, so a series is one contiguous row. A matrix has cells of its own, or a run state's
// (see MatrixBlock).
class Matrix {
  public:
    Matrix() : owned_(std::make_unique<double[]>(kMatrixCells)), cells_(owned_.get()) {}
    explicit Matrix(double* cells) : cells_(cells) {}

    double& operator()(int salesPoint, int period) { return cells_[At(salesPoint, period)]; }
    double operator()(int salesPoint, int period) const { return cells_[At(salesPoint, period)]; }
    PeriodRow<double> Row(int salesPoint) { return PeriodRow<double>(&cells_[At(salesPoint, 0)]); }
    PeriodRow<const double> Row(int salesPoint) const {
        return PeriodRow<const double>(&cells_[At(salesPoint, 0)]);
    }
    void Clear();

  private:
    static int At(int salesPoint, int period) {
        CheckIndex("sales point", salesPoint, kSalesPointSlots);
        CheckIndex("period", period, kPeriodSlots);
        return salesPoint * kPeriodSlots + period;
    }

    std::unique_ptr<double[]> owned_;  // empty when the cells are a run state's
    double* cells_;
};

// The zeroed cells of a run state's matrices in one block, which the system may back with large
// pages: a new state then takes a few page faults instead of some two thousand, each of them
// dear on a virtual machine.
class MatrixBlock {
  public:
    explicit MatrixBlock(int matrices);

    // The cells of the next matrix.
    double* Next();

  private:
    struct Free {
        void operator()(double* cells) const;
    };

    std::unique_ptr<double[], Free> cells_;
    int matrices_;
    int taken_ = 0;
};

using Vector = std::array<double, kSalesPointSlots>;

// The limits typed for the model parameters; p3 is read only by the models that use it.
struct ModelLimits {
    double p1low = 0.0;
    double p1up = 0.0;
    double p2low = 0.0;
    double p2up = 0.0;
    double p3 = 0.0;
};

// Everything one run reads and writes. Allocated once, cleared at the start of every run so
// that a report never shows numbers of an earlier run.
struct RunState {
    void Clear();

    // Converted inputs. N is kept too: the boxes cannot change while a run works.
    std::int16_t periodNumber = 0;
    std::int16_t initPeriods = 0;
    std::int16_t alphaBetaPeriods = 0;
    std::int16_t warmUp = 0;  // kept, read by nothing
    double tau = 0.0;
    std::int16_t horizon = 0;
    std::int16_t salesPointCount = 0;
    bool boundedConstants = false;  // rolling searches held within 0..1 (a run option)
    bool demandRecorded = false;    // demand read from a sales history, not drawn from a model
    ModelLimits limits;
    DemandModel model = DemandModel::loga;

    // Loop counters of the run's own loops.
    std::int16_t salesPoint = 0;
    std::int16_t period = 0;

    double squareSum = 0.0;
    double totalLostSale = 0.0;
    double totalReturn = 0.0;
    double totalSales = 0.0;

    Vector modelA{};
    Vector modelC{};
    Vector modelMu{};
    Vector modelPhi{};
    Vector modelSigma{};
    Vector initialMu{};
    Vector initialSigma{};
    Vector initialAlpha{};
    Vector initialBeta{};
    Vector alphaCriterion{};
    Vector betaCriterion{};
    Vector lostSaleSum{};
    Vector returnedSum{};
    Vector salesSum{};

    // Before the matrices, which take their cells from it in this order.
    MatrixBlock matrixBlock{19};
    Matrix demandMean{matrixBlock.Next()};
    Matrix actualDemand{matrixBlock.Next()};
    Matrix mu{matrixBlock.Next()};
    Matrix mad{matrixBlock.Next()};
    Matrix sigma{matrixBlock.Next()};
    Matrix muSquaredError{matrixBlock.Next()};
    Matrix madSquaredError{matrixBlock.Next()};
    Matrix alpha{matrixBlock.Next()};
    Matrix beta{matrixBlock.Next()};
    Matrix delivery{matrixBlock.Next()};
    Matrix lostSale{matrixBlock.Next()};
    Matrix returned{matrixBlock.Next()};
    Matrix sales{matrixBlock.Next()};

    // Not part of the described state: the alpha and beta that each period's own step used,
    // which later searches do not overwrite (alpha and beta above hold their last trials).
    Matrix alphaUsed{matrixBlock.Next()};
    Matrix betaUsed{matrixBlock.Next()};
    // Nor these: the forecast and sigma of each rolling period as they were known when its
    // delivery was decided (see ForecastsAsKnown), where mu and sigma are replayed in hindsight.
    Matrix forecastAsForecast{matrixBlock.Next()};
    Matrix sigmaAsForecast{matrixBlock.Next()};
    // And the same for the coming periods after P (ComingPeriods), the k-th at period k: they
    // lie beyond period 600 when P is near it.
    Matrix comingForecast{matrixBlock.Next()};
    Matrix comingSigma{matrixBlock.Next()};
    // The names a sales history gives its sales points, sales point sp at sp - 1; empty when
    // it gives none or the demand is drawn.
    std::vector<std::string> salesPointNames;
    // The day of each period as YYYY-MM-DD, period t at t - 1, when a sales history dates them.
    std::vector<std::string> periodDates;
    // Nor this: the season the demand was adjusted by (a run option), and the demand as given.
    SeasonState season;

    std::string lineText;
    std::string cellText;

    // Nor this: the lanes' working columns, one buffer per thread, kept from run to run so
    // that a run touches no fresh memory for them (estimation/lane_buffers.h). Clear leaves them.
    std::vector<std::vector<double>> laneBuffers;
};

}  // namespace sf
