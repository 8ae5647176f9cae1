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
// A sales history may hold more periods than the form's runs: its run state is sized to them.
inline constexpr int kMaxHistoryPeriods = 10000;

// The periods 0..P of one sales point in a matrix, indexed by period; checked where the index
// checks are on.
template <class Cell>
class PeriodRow {
  public:
    explicit PeriodRow(Cell* periods, int slots = kPeriodSlots)
        : periods_(periods), slots_(slots) {}
    template <class Other>
    requires std::is_convertible_v<Other*, Cell*> PeriodRow(PeriodRow<Other> row)
        : periods_(row.data()), slots_(row.Slots()) {}  // a writable row reads as const

    Cell& operator[](int period) const {
        CheckIndex("period", period, slots_);
        return periods_[period];
    }
    Cell* data() const { return periods_; }
    int Slots() const { return slots_; }

  private:
    Cell* periods_;
    int slots_;
};

inline constexpr int kMatrixCells = kSalesPointSlots * kPeriodSlots;

// Doubles by sales point 0..100 and period 0..P (P at least 600, 600 unless a sales history has
// more periods). The periods of one sales point lie side by side, so a series is one contiguous
// row. A matrix has cells of its own, or a run state's (see MatrixBlock).
class Matrix {
  public:
    explicit Matrix(int periodSlots = kPeriodSlots)
        : owned_(std::make_unique<double[]>(CellsFor(periodSlots))),
          cells_(owned_.get()),
          periodSlots_(periodSlots) {}
    Matrix(double* cells, int periodSlots) : cells_(cells), periodSlots_(periodSlots) {}

    double& operator()(int salesPoint, int period) { return cells_[At(salesPoint, period)]; }
    double operator()(int salesPoint, int period) const { return cells_[At(salesPoint, period)]; }
    PeriodRow<double> Row(int salesPoint) {
        return PeriodRow<double>(&cells_[At(salesPoint, 0)], periodSlots_);
    }
    PeriodRow<const double> Row(int salesPoint) const {
        return PeriodRow<const double>(&cells_[At(salesPoint, 0)], periodSlots_);
    }
    int PeriodSlots() const { return periodSlots_; }
    void Clear();

    static std::size_t CellsFor(int periodSlots) {
        return static_cast<std::size_t>(kSalesPointSlots) * static_cast<std::size_t>(periodSlots);
    }

  private:
    std::size_t At(int salesPoint, int period) const {
        CheckIndex("sales point", salesPoint, kSalesPointSlots);
        CheckIndex("period", period, periodSlots_);
        return static_cast<std::size_t>(salesPoint) * static_cast<std::size_t>(periodSlots_) +
               static_cast<std::size_t>(period);
    }

    std::unique_ptr<double[]> owned_;  // empty when the cells are a run state's
    double* cells_;
    int periodSlots_;
};

// The zeroed cells of a run state's matrices in one block, which the system may back with large
// pages: a new state then takes a few page faults instead of some two thousand, each of them
// dear on a virtual machine.
class MatrixBlock {
  public:
    MatrixBlock(int matrices, int periodSlots);

    // The cells of the next matrix.
    double* Next();

  private:
    struct Free {
        void operator()(double* cells) const;
    };

    std::unique_ptr<double[], Free> cells_;
    int matrices_;
    std::size_t matrixCells_;
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
    // Room for the periods 0..600, or 0..periods for a sales history that has more.
    explicit RunState(int periods = kMaxPeriods)
        : periodCapacity(static_cast<std::int16_t>(periods < kMaxPeriods ? kMaxPeriods : periods)) {
    }

    void Clear();

    // The largest period the matrices hold: 600, or a longer sales history's P. Kept by Clear.
    const std::int16_t periodCapacity;

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
    MatrixBlock matrixBlock{19, periodCapacity + 1};
    Matrix demandMean{matrixBlock.Next(), periodCapacity + 1};
    Matrix actualDemand{matrixBlock.Next(), periodCapacity + 1};
    Matrix mu{matrixBlock.Next(), periodCapacity + 1};
    Matrix mad{matrixBlock.Next(), periodCapacity + 1};
    Matrix sigma{matrixBlock.Next(), periodCapacity + 1};
    Matrix muSquaredError{matrixBlock.Next(), periodCapacity + 1};
    Matrix madSquaredError{matrixBlock.Next(), periodCapacity + 1};
    Matrix alpha{matrixBlock.Next(), periodCapacity + 1};
    Matrix beta{matrixBlock.Next(), periodCapacity + 1};
    Matrix delivery{matrixBlock.Next(), periodCapacity + 1};
    Matrix lostSale{matrixBlock.Next(), periodCapacity + 1};
    Matrix returned{matrixBlock.Next(), periodCapacity + 1};
    Matrix sales{matrixBlock.Next(), periodCapacity + 1};

    // Not part of the described state: the alpha and beta that each period's own step used,
    // which later searches do not overwrite (alpha and beta above hold their last trials).
    Matrix alphaUsed{matrixBlock.Next(), periodCapacity + 1};
    Matrix betaUsed{matrixBlock.Next(), periodCapacity + 1};
    // Nor these: the forecast and sigma of each rolling period as they were known when its
    // delivery was decided (see ForecastsAsKnown), where mu and sigma are replayed in hindsight.
    Matrix forecastAsForecast{matrixBlock.Next(), periodCapacity + 1};
    Matrix sigmaAsForecast{matrixBlock.Next(), periodCapacity + 1};
    // And the same for the coming periods after P (ComingPeriods), the k-th at period k: they
    // lie beyond period 600 when P is near it.
    Matrix comingForecast{matrixBlock.Next(), periodCapacity + 1};
    Matrix comingSigma{matrixBlock.Next(), periodCapacity + 1};
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
