#pragma once

// A small plane-geometry library: plain C++ that knows nothing of the host. geo_binding.cpp
// exposes it to the host as the namespace geo.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace geo {

// Something with a name that can be scaled; what it is, its subclasses say.
class Shape {
public:
    explicit Shape(std::string shapeName) : name(std::move(shapeName)) {}
    virtual ~Shape() = default;
    virtual void scale(double factor) = 0;

    std::string name;
};

// A polygon given by its vertices in order.
class Polygon : public Shape {
public:
    explicit Polygon(std::string polygonName) : Shape(std::move(polygonName)) {}
    // The square with corners (0, 0) and (1, 1).
    static Polygon unitSquare();

    void addVertex(double x, double y);
    void scale(double factor) override;
    // The enclosed area (shoelace formula), whatever the orientation.
    double area() const;
    // The centre of the enclosed area; std::domain_error when there is none.
    std::pair<double, double> centroid() const;
    const std::vector<double>& xs() const { return xs_; }
    const std::vector<double>& ys() const { return ys_; }

private:
    double signedArea() const;

    std::vector<double> xs_, ys_;
};

// The area of a polygon, as a namespace function.
double area(const Polygon& polygon);

}  // namespace geo
