#pragma once

// The C++ library this template binds: plants and trees. It knows nothing of the host.

#include <string>

namespace garden {

class Plant {
public:
    explicit Plant(std::string name);
    Plant(const Plant&) = default;
    Plant& operator=(const Plant&) = default;
    virtual ~Plant() = default;

    std::string name;
    double height() const { return height_; }
    /// Throws std::invalid_argument for a negative growth: plants do not shrink.
    void grow(double metres);
    virtual std::string describe() const;

private:
    double height_ = 0;
};

class Tree : public Plant {
public:
    Tree(std::string name, double trunkDiameter);

    double trunkDiameter;
    std::string describe() const override;
};

/// How many plants fit on a bed of the given area when each needs `spacing` metres on
/// every side. Throws std::invalid_argument unless spacing is positive.
double plantsPerBed(double area, double spacing);

}  // namespace garden
