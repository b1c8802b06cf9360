#include "garden.hpp"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace garden {

Plant::Plant(std::string name_) : name(std::move(name_)) {}

void Plant::grow(double metres) {
    if (metres < 0) throw std::invalid_argument("plants do not shrink");
    height_ += metres;
}

std::string Plant::describe() const { return name + ", a plant"; }

Tree::Tree(std::string name_, double trunkDiameter_) : Plant(std::move(name_)), trunkDiameter(trunkDiameter_) {}

std::string Tree::describe() const { return name + ", a tree"; }

double plantsPerBed(double area, double spacing) {
    if (!(spacing > 0)) throw std::invalid_argument("the spacing must be positive");
    return std::floor(area / (spacing * spacing));
}

}  // namespace garden
