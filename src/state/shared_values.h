#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace sf {

// Values fixed once they are built, shared by every copy that holds them. A sales history of a
// whole catalogue is hundreds of megabytes, and its copies are many: the form's, the run's
// inputs, each listed run's record; sharing keeps one.
template <class T>
class SharedValues {
  public:
    SharedValues() = default;
    SharedValues(std::vector<T> values)  // NOLINT(google-explicit-constructor): built as a vector
        : values_(std::make_shared<const std::vector<T>>(std::move(values))) {}
    SharedValues(std::initializer_list<T> values) : SharedValues(std::vector<T>(values)) {}

    const std::vector<T>& Values() const { return values_ ? *values_ : Empty(); }
    const T& operator[](std::size_t at) const { return Values()[at]; }
    std::size_t size() const { return Values().size(); }
    bool empty() const { return Values().empty(); }
    const T* data() const { return Values().data(); }
    auto begin() const { return Values().begin(); }
    auto end() const { return Values().end(); }

    bool operator==(const SharedValues& other) const {
        return values_ == other.values_ || Values() == other.Values();
    }

  private:
    static const std::vector<T>& Empty() {
        static const std::vector<T> empty;
        return empty;
    }

    std::shared_ptr<const std::vector<T>> values_;
};

}  // namespace sf
