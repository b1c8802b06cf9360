#include "geo.hpp"

#include <cmath>
#include <stdexcept>

namespace geo {

Polygon Polygon::unitSquare() {
    Polygon square("unit square");
    square.addVertex(0, 0);
    square.addVertex(1, 0);
    square.addVertex(1, 1);
    square.addVertex(0, 1);
    return square;
}

void Polygon::addVertex(double x, double y) {
    xs_.push_back(x);
    ys_.push_back(y);
}

void Polygon::scale(double factor) {
    for (double& x : xs_) x *= factor;
    for (double& y : ys_) y *= factor;
}

double Polygon::signedArea() const {
    double twice = 0;
    for (std::size_t i = 0, n = xs_.size(); i < n; ++i) {
        const std::size_t next = (i + 1) % n;
        twice += xs_[i] * ys_[next] - xs_[next] * ys_[i];
    }
    return twice / 2;
}

double Polygon::area() const { return std::abs(signedArea()); }

std::pair<double, double> Polygon::centroid() const {
    const double a = signedArea();
    if (a == 0) throw std::domain_error("polygon '" + name + "' encloses no area");
    double cx = 0, cy = 0;
    for (std::size_t i = 0, n = xs_.size(); i < n; ++i) {
        const std::size_t next = (i + 1) % n;
        const double cross = xs_[i] * ys_[next] - xs_[next] * ys_[i];
        cx += (xs_[i] + xs_[next]) * cross;
        cy += (ys_[i] + ys_[next]) * cross;
    }
    return {cx / (6 * a), cy / (6 * a)};
}

double area(const Polygon& polygon) { return polygon.area(); }

}  // namespace geo
